#include <gtest/gtest.h>

#include "platform/KeyNaming.h"
#include "platform/desktop/wayland/WaylandKeyCodes.h"

namespace {

using desktop::waylandKeyEvent;
using platform::KeyEvent;

constexpr uint32_t xkb = 8;  // XKB key codes are the kernel's plus 8

// The recorder on Wayland reads a key by its place on the keyboard, as the shortcut
// service registers it, and ignores the lock modifiers.
TEST(WaylandKeyCodesTest, PressesReadAsTheLogicsKeysAndModifiers) {
    EXPECT_EQ(waylandKeyEvent(25 + xkb, 0x8), (KeyEvent{35, 0x80000}));  // Alt + P
    EXPECT_EQ(waylandKeyEvent(88 + xkb, 0x41 | 0x10 | 0x2), (KeyEvent{111, 0x120000}))
        << "Super + Shift + F12 with NumLock and CapsLock on";
    EXPECT_EQ(waylandKeyEvent(1 + xkb, 0), (KeyEvent{53, 0}));           // Escape
    EXPECT_EQ(waylandKeyEvent(71 + xkb, 0x4), (KeyEvent{89, 0x40000}));  // Ctrl + keypad 7
    EXPECT_EQ(waylandKeyEvent(240 + xkb, 0).keyCode, platform::KeyNaming::unnamedKey);
    EXPECT_EQ(waylandKeyEvent(3, 0).keyCode, platform::KeyNaming::unnamedKey);  // below the offset
}

}  // namespace
