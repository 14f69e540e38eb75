#pragma once

#include <optional>

#include "platform/HotKeys.h"

// Owns the one system-wide shortcut: registers the stored combination and turns each
// press into one pin toggle on the main queue.
class HotkeyManager {
public:
    static constexpr platform::EventHotKeyID identifier{platform::fourCharCode("QUEL"), 1};

    static HotkeyManager& shared();

    // Drops the current registration, registers the stored shortcut, and installs the
    // press handler once.
    void reinstall();

    // While true, presses are ignored; the shortcut stays registered.
    bool paused = false;

private:
    friend struct HotkeyManagerReset;  // a fresh instance for each copy sharing the process

    HotkeyManager() = default;
    HotkeyManager& operator=(const HotkeyManager&) = default;

    static platform::OSStatus hotKeyPressed(platform::EventHandlerCallRef call,
                                            platform::EventRef event, void* userData);

    std::optional<platform::EventHotKeyRef> hotKeyRef;
    bool handlerInstalled = false;
};
