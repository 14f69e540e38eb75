#include "hotkey/HotkeyManager.h"
#include "platform/KeyframeAnimation.h"
#include "platform/Platform.h"
#include "settings/KeyNames.h"
#include "settings/L10n.h"
#include "settings/Settings.h"
#include "ui/BuildingBlocks.h"
#include "ui/SettingsWindow.h"

namespace {

constexpr uint16_t escapeKey = 53;

platform::Color recordingColor() {
    return platform::Color::calibrated(0.8, 0.6, 0.2, 0.9);
}

platform::KeyframeAnimation pulse() {
    platform::KeyframeAnimation animation;
    animation.keyPath = "transform.scale";
    animation.values = {1.0, 1.05, 1.0};
    animation.duration = 0.6;
    animation.repeatCount = platform::KeyframeAnimation::infinite;
    return animation;
}

}  // namespace

// A second click while recording neither cancels nor restarts.
void SettingsWindow::tapRecord() {
    if (recording) return;
    recording = true;
    HotkeyManager::shared().paused = true;
    recButton->setTitle(L10n::pressShortcut());
    recButton->layer()->setBackgroundColor(recordingColor());
    recButton->layer()->addAnimation(pulse(), "pulse");
    const std::weak_ptr<SettingsWindow> weakSelf = weak_from_this();
    recordingMonitor = platform::keyMonitors().addLocalMonitor(
        platform::KeyMonitors::keyDownMask,
        [weakSelf](const platform::KeyEvent& event) -> std::optional<platform::KeyEvent> {
            const auto self = weakSelf.lock();
            if (!self || !self->recording) return event;
            if (event.keyCode == escapeKey) {
                self->finishRecording(true, 0, 0);
            } else if (!platform::keyNaming().hasKey(event.keyCode)) {
                // No key code names it, or the layout cannot press it: a shortcut on it would
                // never fire. Say so and wait for another key.
                self->recButton->setTitle(L10n::keyUnusable());
            } else {
                self->finishRecording(false, event.keyCode, Settings::mask(event.modifierFlags));
            }
            return std::nullopt;  // the key that ends a recording reaches no control
        });
    // Without a monitor no key could end the recording, and the shortcut would stay paused.
    if (!recordingMonitor) finishRecording(true, 0, 0);
}

// Key code 0 (the A key) stores nothing, like a cancel.
void SettingsWindow::finishRecording(bool cancelled, int64_t keyCode, uint64_t modifiers) {
    recording = false;
    HotkeyManager::shared().paused = false;
    if (recordingMonitor) {
        platform::keyMonitors().removeMonitor(recordingMonitor);
        recordingMonitor.reset();
    }
    recButton->layer()->removeAnimation("pulse");
    recButton->layer()->setBackgroundColor(platform::Color::white(0.12));
    if (!cancelled && keyCode != 0) {
        Settings::saveShortcut(keyCode, modifiers);
        HotkeyManager::shared().reinstall();
        bounce(*recButton);
    }
    recButton->setTitle(formatShortcut());
}
