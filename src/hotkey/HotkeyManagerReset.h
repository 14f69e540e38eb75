#pragma once

#include "hotkey/HotkeyManager.h"

// HotkeyManager::shared() lives as long as the process. Where several copies of the program
// share one process (the simulated desktop, its tests), each new copy starts with a fresh
// instance: no registration and no handler carried over from a copy that ended.
struct HotkeyManagerReset {
    static void toFreshInstance() { HotkeyManager::shared() = HotkeyManager(); }
};
