#include "app/AppDelegate.h"

#include <string>
#include <vector>

#include "app/Log.h"
#include "app/Outfit.h"
#include "hotkey/HotkeyManager.h"
#include "pinning/PinManager.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

void AppDelegate::applicationDidFinishLaunching() {
    registerOutfitFonts();
    Settings::resetDefaultsIfNeeded();
    flog("start: AXtrusted=" +
         std::string(platform::accessibility().isProcessTrusted() ? "true" : "false") +
         " pid=" + std::to_string(platform::process().processIdentifier()));
    armSelfTest();
    if (anotherCopyRuns()) {
        platform::application().terminate();
        return;
    }
    platform::accessibility().isProcessTrustedWithPrompt();
    requestScreenRecordingPrompt();
    watchTerminatedApplications();
    setUpStatusItem();
    registerLaunchCompletion();
}

void AppDelegate::registerLaunchCompletion() {
    HotkeyManager::shared().reinstall();
}

void AppDelegate::armSelfTest() {
    const auto environment = platform::process().environment();
    const auto found = environment.find(selfTestVariable);
    if (found == environment.end() || found->second != "1") return;
    platform::dispatch().mainAsyncAfter(2.0, [] {
        flog("SELFTEST trigger");
        PinManager::shared().toggleFrontmost();
    });
}

bool AppDelegate::anotherCopyRuns() {
    const std::string identifier = platform::process().bundleIdentifier().value_or("");
    return platform::workspace().runningApplications(identifier).size() >= 2;
}

// The first screen-content request lets the desktop ask for the Screen Recording permission.
void AppDelegate::requestScreenRecordingPrompt() {
    platform::shareableContent().request(false, true, [](auto, auto) {});
}

void AppDelegate::watchTerminatedApplications() {
    platform::workspace().observeTerminations([](const platform::TerminationNotification& note) {
        if (!note.application) return;
        const auto& bundleIdentifier = note.application->bundleIdentifier;
        std::vector<uint32_t> windowIDs;  // selected from the list as it is now
        for (const auto& mirror : PinManager::shared().mirrors) {
            const platform::SCWindow& window = mirror->scWindow();
            const auto& owner = window.owningApplication;
            const auto ownerIdentifier = owner ? owner->bundleIdentifier : std::nullopt;
            if (ownerIdentifier == bundleIdentifier) windowIDs.push_back(window.windowID);
        }
        for (uint32_t windowID : windowIDs)
            PinManager::shared().unpin(windowID);
    });
}
