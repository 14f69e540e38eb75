#include "platform/desktop/wayland/WaylandSession.h"

#include "platform/desktop/wayland/KGlobalAccelHotKeys.h"
#include "platform/desktop/wayland/PipeWireCaptureStreams.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandKeyNaming.h"
#include "platform/desktop/wayland/WaylandScreencastSource.h"
#include "platform/desktop/wayland/WaylandServices.h"

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

// The compositor shares a window by its uuid; the logic knows it by its number.
std::unique_ptr<platform::CaptureStreams> WaylandSession::makeCaptureStreams(
    platform::Dispatch& dispatch) {
    auto source = std::make_shared<WaylandScreencastSource>(context_.connection(), dispatch);
    WindowUuidLookup lookup = [this](uint32_t windowID) -> std::optional<std::string> {
        const auto window = context_.windows().window(windowID);
        if (!window) return std::nullopt;
        return window->uuid;
    };
    return std::make_unique<PipeWireCaptureStreams>(std::move(source), std::move(lookup), dispatch);
}

std::unique_ptr<platform::HotKeys> WaylandSession::makeHotKeys() {
    return std::make_unique<KGlobalAccelHotKeys>();
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
