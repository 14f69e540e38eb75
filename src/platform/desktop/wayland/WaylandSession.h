#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/desktop/DesktopSession.h"

namespace desktop {

class WaylandContext;

// A Wayland session on a compositor that trusts this program with its window management,
// window capture and layer shell (KWin). A service the compositor does not offer still
// exists and fails the documented way: the permission items read not granted, pins fail to
// capture, nothing crashes. Capture and hot keys come from makers set before the platform
// is made, so that another backend can stand beside the compositor's own.
class WaylandSession : public DesktopSession {
public:
    using CaptureStreamsMaker =
        std::function<std::unique_ptr<platform::CaptureStreams>(WaylandContext& context)>;
    using HotKeysMaker = std::function<std::unique_ptr<platform::HotKeys>(WaylandContext& context)>;

    explicit WaylandSession(WaylandContext& context) : context_(context) {}

    void setCaptureStreamsMaker(CaptureStreamsMaker maker) { captureMaker_ = std::move(maker); }
    void setHotKeysMaker(HotKeysMaker maker) { hotKeysMaker_ = std::move(maker); }

    std::unique_ptr<platform::Workspace> makeWorkspace(platform::Dispatch& dispatch) override;
    std::unique_ptr<platform::Accessibility> makeAccessibility() override;
    std::unique_ptr<platform::ShareableContent> makeShareableContent(
        platform::Dispatch& dispatch) override;
    std::unique_ptr<platform::AXElements> makeAXElements() override;
    std::unique_ptr<platform::AXObservers> makeAXObservers() override;
    std::unique_ptr<platform::CaptureStreams> makeCaptureStreams() override;
    std::unique_ptr<platform::HotKeys> makeHotKeys() override;
    std::unique_ptr<platform::Screens> makeScreens() override;
    std::unique_ptr<platform::Windows> makeWindows(DesktopTransaction& transaction) override;
    std::unique_ptr<platform::WindowList> makeWindowList() override;
    std::unique_ptr<platform::DisplayLinks> makeDisplayLinks() override;
    std::unique_ptr<platform::EventTaps> makeEventTaps(platform::Dispatch& dispatch) override;
    std::unique_ptr<platform::KeyNaming> makeKeyNaming() override;

private:
    WaylandContext& context_;
    CaptureStreamsMaker captureMaker_;
    HotKeysMaker hotKeysMaker_;
};

}  // namespace desktop
