#include <algorithm>
#include <string>

#include "app/Log.h"
#include "app/NumberText.h"
#include "pinning/MirrorPanel.h"
#include "platform/Platform.h"

void MirrorPanel::startTap() {
    if (eventTap_) return;
    platform::EventTaps& taps = platform::eventTaps();
    auto tap =
        taps.create(platform::EventTaps::sessionEventTap, platform::EventTaps::headInsertEventTap,
                    platform::EventTaps::defaultTapOptions, platform::EventTaps::leftMouseMask,
                    tapCallback, this);
    if (!tap) {
        flog("tap: create FAILED (no accessibility permission?)");
        return;
    }
    eventTap_ = tap;
    taps.enable(*tap, true);
    eventTapSource_ = taps.createRunLoopSource(*tap, 0);
    taps.addToMainRunLoop(eventTapSource_);
}

void MirrorPanel::stopTap() {
    if (!eventTap_) return;
    platform::EventTaps& taps = platform::eventTaps();
    taps.enable(*eventTap_, false);
    if (eventTapSource_) taps.removeFromMainRunLoop(eventTapSource_);
    taps.invalidate(*eventTap_);
    eventTap_.reset();
    eventTapSource_.reset();
}

// Other events, such as the notice that the tap was disabled, pass untouched.
std::optional<platform::TapEvent> MirrorPanel::tapCallback(uint32_t type,
                                                           const platform::TapEvent& event,
                                                           void* userInfo) {
    if (type != platform::EventTaps::leftMouseDown && type != platform::EventTaps::leftMouseUp)
        return event;
    const auto panel = static_cast<MirrorPanel*>(userInfo)->weak_from_this().lock();
    if (panel == nullptr) return event;
    return panel->handleTap(event);  // held for the call
}

platform::TapEvent MirrorPanel::handleTap(const platform::TapEvent& event) {
    const platform::Point p{event.location.x, screenFrame().height - event.location.y};
    if (!panel_->frame().contains(p)) return event;  // the margin counts as inside
    const auto front = platform::workspace().frontmostApplication();
    if (front && front->processIdentifier == pid_) return event;
    if (event.type != platform::EventTaps::leftMouseDown) return event;
    flog("tap: click on pinned area at " + pointText(p) + ", raising real window");
    raiseRealWindow();
    return event;
}

namespace {

// The instance that owns the window when several run, else the first.
const platform::RunningApplication& chooseInstance(
    const std::vector<platform::RunningApplication>& apps, int32_t pid) {
    const auto owner = std::find_if(
        apps.begin(), apps.end(), [pid](const auto& app) { return app.processIdentifier == pid; });
    return owner != apps.end() ? *owner : apps.front();
}

}  // namespace

void MirrorPanel::raiseRealWindow() {
    const std::string noApp = "raise: no running app for pid=" + std::to_string(pid_);
    const auto& owner = scWindow_.owningApplication;
    if (!owner) return flog(noApp);
    const auto apps =
        platform::workspace().runningApplications(owner->bundleIdentifier.value_or(""));
    if (apps.empty()) return flog(noApp);
    const platform::RunningApplication& app = chooseInstance(apps, pid_);
    const bool ok = platform::workspace().activate(app, 0);
    flog("raise: activating " + logValue(app.localizedName.value_or("?")) +
         " ok=" + (ok ? "true" : "false"));
    if (pid_ == 0) return;
    platform::AXElements& ax = platform::axElements();
    const platform::AXElement axApp = ax.applicationElement(pid_);
    flog("raise: frontmost res=" +
         std::to_string(ax.setBooleanAttribute(axApp, "AXFrontmost", true)));
    const std::optional<platform::AXElement> axWindow = findAXWindow(axApp);
    if (!axWindow) return flog("raise: no axWin");
    flog("raise: raise res=" + std::to_string(ax.performAction(*axWindow, "AXRaise")));
}
