#pragma once

#include <memory>

#include "platform/desktop/DesktopSession.h"

namespace desktop {

class WaylandContext;

// A Wayland session on a compositor that trusts this program with its window management,
// window capture and layer shell (KWin). A service the compositor does not offer still
// exists and fails the documented way: the permission items read not granted, pins fail to
// capture, nothing crashes. Pictures come from PipeWire nodes that a ScreencastSource
// makes, so a backend whose panel and picture live inside the compositor can later stand
// beside this one behind the same services.
class WaylandSession : public DesktopSession {
public:
    explicit WaylandSession(WaylandContext& context) : context_(context) {}

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
    WaylandContext& context_;
};

}  // namespace desktop
