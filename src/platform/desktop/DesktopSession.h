#pragma once

#include <memory>

#include "platform/Platform.h"

namespace desktop {

class DesktopTransaction;

// What one kind of Linux session (X11, Wayland) gives the desktop beside the toolkit's
// shared services: everything that sees or touches other programs' windows. Each service is
// made once, on the main thread, by the desktop platform.
class DesktopSession {
public:
    virtual ~DesktopSession() = default;

    virtual std::unique_ptr<platform::Workspace> makeWorkspace(platform::Dispatch& dispatch) = 0;
    virtual std::unique_ptr<platform::Accessibility> makeAccessibility() = 0;
    virtual std::unique_ptr<platform::ShareableContent> makeShareableContent(
        platform::Dispatch& dispatch) = 0;
    virtual std::unique_ptr<platform::AXElements> makeAXElements() = 0;
    virtual std::unique_ptr<platform::AXObservers> makeAXObservers() = 0;
    virtual std::unique_ptr<platform::CaptureStreams> makeCaptureStreams(
        platform::Dispatch& dispatch) = 0;
    virtual std::unique_ptr<platform::HotKeys> makeHotKeys() = 0;
    virtual std::unique_ptr<platform::Screens> makeScreens() = 0;
    virtual std::unique_ptr<platform::Windows> makeWindows(DesktopTransaction& transaction) = 0;
    virtual std::unique_ptr<platform::WindowList> makeWindowList() = 0;
    virtual std::unique_ptr<platform::DisplayLinks> makeDisplayLinks() = 0;
    virtual std::unique_ptr<platform::EventTaps> makeEventTaps(platform::Dispatch& dispatch) = 0;
    virtual std::unique_ptr<platform::KeyNaming> makeKeyNaming() = 0;
};

}  // namespace desktop
