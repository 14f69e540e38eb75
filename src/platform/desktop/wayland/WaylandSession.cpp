#include "platform/desktop/wayland/WaylandSession.h"

#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandKeyNaming.h"
#include "platform/desktop/wayland/WaylandServices.h"
#include "platform/desktop/wayland/WaylandUnavailable.h"

namespace desktop {

std::unique_ptr<platform::Workspace> WaylandSession::makeWorkspace(platform::Dispatch& dispatch) {
    return makeWaylandWorkspace(context_, dispatch);
}

std::unique_ptr<platform::Accessibility> WaylandSession::makeAccessibility() {
    return makeWaylandAccessibility(context_);
}

std::unique_ptr<platform::ShareableContent> WaylandSession::makeShareableContent(
    platform::Dispatch& dispatch) {
    return makeWaylandShareableContent(context_, dispatch);
}

std::unique_ptr<platform::AXElements> WaylandSession::makeAXElements() {
    return makeWaylandAXElements(context_);
}

std::unique_ptr<platform::AXObservers> WaylandSession::makeAXObservers() {
    return makeWaylandAXObservers(context_);
}

std::unique_ptr<platform::CaptureStreams> WaylandSession::makeCaptureStreams() {
    if (context_.connection().screencast() == nullptr)
        return makeUnavailableCaptureStreams("the compositor offers no window capture");
    if (captureMaker_) return captureMaker_(context_);
    return makeUnavailableCaptureStreams("this build cannot capture Wayland windows yet");
}

std::unique_ptr<platform::HotKeys> WaylandSession::makeHotKeys() {
    if (hotKeysMaker_) return hotKeysMaker_(context_);
    return makeUnavailableHotKeys("this build has no shortcut service for Wayland");
}

std::unique_ptr<platform::Screens> WaylandSession::makeScreens() {
    return makeWaylandScreens(context_);
}

std::unique_ptr<platform::Windows> WaylandSession::makeWindows(DesktopTransaction& transaction) {
    return makeWaylandWindows(context_, transaction);
}

std::unique_ptr<platform::WindowList> WaylandSession::makeWindowList() {
    return makeWaylandWindowList(context_);
}

std::unique_ptr<platform::DisplayLinks> WaylandSession::makeDisplayLinks() {
    return makeWaylandDisplayLinks(context_);
}

std::unique_ptr<platform::EventTaps> WaylandSession::makeEventTaps(platform::Dispatch&) {
    return makeWaylandEventTaps();
}

std::unique_ptr<platform::KeyNaming> WaylandSession::makeKeyNaming() {
    return std::make_unique<WaylandKeyNaming>();
}

}  // namespace desktop
