#include "platform/desktop/x11/X11Session.h"

#include "platform/desktop/x11/X11KeyNaming.h"
#include "platform/desktop/x11/X11Services.h"

namespace desktop {

std::unique_ptr<platform::Workspace> X11Session::makeWorkspace(platform::Dispatch& dispatch) {
    return desktop::makeWorkspace(context_, dispatch);
}

std::unique_ptr<platform::Accessibility> X11Session::makeAccessibility() {
    return desktop::makeAccessibility(context_);
}

std::unique_ptr<platform::ShareableContent> X11Session::makeShareableContent(
    platform::Dispatch& dispatch) {
    return desktop::makeShareableContent(context_, dispatch);
}

std::unique_ptr<platform::AXElements> X11Session::makeAXElements() {
    return desktop::makeAXElements(context_);
}

std::unique_ptr<platform::AXObservers> X11Session::makeAXObservers() {
    return desktop::makeAXObservers(context_);
}

std::unique_ptr<platform::CaptureStreams> X11Session::makeCaptureStreams(platform::Dispatch&) {
    return desktop::makeCaptureStreams(context_);
}

std::unique_ptr<platform::HotKeys> X11Session::makeHotKeys() {
    return desktop::makeHotKeys(context_);
}

std::unique_ptr<platform::Screens> X11Session::makeScreens() {
    return desktop::makeScreens(context_);
}

std::unique_ptr<platform::Windows> X11Session::makeWindows(DesktopTransaction& transaction) {
    return desktop::makeWindows(context_, transaction);
}

std::unique_ptr<platform::WindowList> X11Session::makeWindowList() {
    return desktop::makeWindowList(context_);
}

std::unique_ptr<platform::DisplayLinks> X11Session::makeDisplayLinks() {
    return desktop::makeDisplayLinks(context_);
}

std::unique_ptr<platform::EventTaps> X11Session::makeEventTaps(platform::Dispatch& dispatch) {
    return desktop::makeEventTaps(context_, dispatch);
}

std::unique_ptr<platform::KeyNaming> X11Session::makeKeyNaming() {
    return std::make_unique<X11KeyNaming>(context_);
}

}  // namespace desktop
