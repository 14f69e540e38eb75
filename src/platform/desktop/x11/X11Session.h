#pragma once

#include "platform/desktop/DesktopSession.h"

namespace desktop {

class X11Context;

// An X11 session: other programs' windows through the X server (EWMH, Composite, XInput2).
class X11Session : public DesktopSession {
public:
    explicit X11Session(X11Context& context) : context_(context) {}

    std::unique_ptr<platform::Workspace> makeWorkspace(platform::Dispatch& dispatch) override;
    std::unique_ptr<platform::Accessibility> makeAccessibility() override;
    std::unique_ptr<platform::ShareableContent> makeShareableContent(
        platform::Dispatch& dispatch) override;
    std::unique_ptr<platform::AXElements> makeAXElements() override;
    std::unique_ptr<platform::AXObservers> makeAXObservers() override;
    std::unique_ptr<platform::CaptureStreams> makeCaptureStreams(
        platform::Dispatch& dispatch) override;
    std::unique_ptr<platform::HotKeys> makeHotKeys() override;
    std::unique_ptr<platform::Screens> makeScreens() override;
    std::unique_ptr<platform::Windows> makeWindows(DesktopTransaction& transaction) override;
    std::unique_ptr<platform::WindowList> makeWindowList() override;
    std::unique_ptr<platform::DisplayLinks> makeDisplayLinks() override;
    std::unique_ptr<platform::EventTaps> makeEventTaps(platform::Dispatch& dispatch) override;
    std::unique_ptr<platform::KeyNaming> makeKeyNaming() override;

private:
    X11Context& context_;
};

}  // namespace desktop
