#include <cstdio>

#include "pinning/PinManager.h"
#include "soak/SoakSession.h"

// The random lines of a session, chosen from what the desktop holds now so that the
// runner accepts nearly all of them.

std::vector<uint32_t> SoakSession::windows() {
    std::vector<uint32_t> found;
    for (const uint32_t window : known_)
        if (desktop_.findWindow(window) != nullptr) found.push_back(window);
    return found;
}

std::vector<int32_t> SoakSession::runningApps() {
    std::vector<int32_t> found;
    for (int32_t pid = 812; pid < nextApp_; pid = pid == 814 ? 900 : pid + 1)
        if (desktop_.findApp(pid) != nullptr) found.push_back(pid);
    return found;
}

bool SoakSession::settingsOpen() const {
    for (const auto& window : desktop_.ownWindows.all())
        if (!window->isPanel()) return true;
    return false;
}

std::string SoakSession::nextLine() {
    const auto apps = runningApps();
    const auto shown = windows();
    if (apps.empty() || rng_() % 40 == 0) {
        const int32_t pid = nextApp_++;
        return "app " + std::to_string(pid) + " com.example.app" + std::to_string(pid) + " App";
    }
    if (shown.empty() || rng_() % 12 == 0) {
        const uint32_t number = nextWindow_++;
        known_.push_back(number);
        return "window " + std::to_string(number) + " " + std::to_string(pick(apps)) + " " +
               std::to_string(between(0, 1500)) + " " + std::to_string(between(0, 900)) + " " +
               std::to_string(between(50, 1200)) + " " + std::to_string(between(50, 900));
    }
    switch (rng_() % 16) {
        case 0:
            return "focus " + std::to_string(pick(apps));
        case 1:
        case 2:
            return "toggle";
        case 3:
            return "press-keys option+P";
        case 4:
        case 5:
            return windowLine();
        case 6:
            return "quit " + std::to_string(pick(apps));
        case 7:
            return "screen-height " + std::to_string(between(500, 1300));
        case 8:
            return "refresh " + std::to_string(between(1, 3));
        case 9:
        case 10:
            return "wait " + std::to_string(between(1, 15) / 10.0);
        case 11: {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(rng_() & 0xFFFFFF));
            return rng_() % 5 == 0 ? "border-color clear" : std::string("border-color ") + hex;
        }
        case 12:
            return settingsLine();
        case 13:
            return "mouse-press " + std::to_string(between(0, 1900)) + " " +
                   std::to_string(between(0, 1050));
        case 14:
            return "ax " + std::to_string(pick(apps)) + " focused " + std::to_string(pick(shown));
        default:
            return "frame " + std::to_string(pick(shown)) + " " + std::to_string(between(0, 40));
    }
}

// Moves, resizes, closes, and capture failures of one window that the desktop shows.
std::string SoakSession::windowLine() {
    const std::string window = std::to_string(pick(windows()));
    switch (rng_() % 6) {
        case 0:
            return "move " + window + " " + std::to_string(between(-100, 1800)) + " " +
                   std::to_string(between(0, 1000));
        case 1:
            return "resize " + window + " " + std::to_string(between(40, 1600)) + " " +
                   std::to_string(between(40, 1000));
        case 2:
            return "close " + window;
        case 3:
            return "capture-fails " + window + (rng_() % 2 ? " start" : " start off");
        case 4:
            return "capture-fails " + window + (rng_() % 2 ? " add-output" : " add-output off");
        default:
            return "capture-error " + window;
    }
}

std::string SoakSession::settingsLine() {
    if (!settingsOpen() || rng_() % 4 == 0) return "settings open";
    switch (rng_() % 3) {
        case 0:
            return "settings press swatch " + std::to_string(between(0, 6));
        case 1:
            return std::string("settings press language ") + (rng_() % 2 ? "en" : "pl");
        default:
            return "settings press close";
    }
}
