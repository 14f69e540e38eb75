#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "platform/KeyNaming.h"
#include "platform/desktop/wayland/WaylandKeyCodes.h"

namespace {

using desktop::waylandKeyEvent;
using platform::KeyEvent;

constexpr uint32_t xkb = 8;  // XKB key codes are the kernel's plus 8
constexpr uint32_t noSymbol = 0;

// Without a keysym the recorder reads a key by its place on the keyboard, and it ignores
// the lock modifiers.
TEST(WaylandKeyCodesTest, PressesWithoutSymbolReadByPlace) {
    EXPECT_EQ(waylandKeyEvent(25 + xkb, noSymbol, 0x8), (KeyEvent{35, 0x80000}));  // Alt + P
    EXPECT_EQ(waylandKeyEvent(88 + xkb, noSymbol, 0x41 | 0x10 | 0x2), (KeyEvent{111, 0x120000}))
        << "Super + Shift + F12 with NumLock and CapsLock on";
    EXPECT_EQ(waylandKeyEvent(1 + xkb, noSymbol, 0), (KeyEvent{53, 0}));           // Escape
    EXPECT_EQ(waylandKeyEvent(71 + xkb, noSymbol, 0x4), (KeyEvent{89, 0x40000}));  // keypad 7
    EXPECT_EQ(waylandKeyEvent(240 + xkb, noSymbol, 0).keyCode, platform::KeyNaming::unnamedKey);
    EXPECT_EQ(waylandKeyEvent(3, noSymbol, 0).keyCode, platform::KeyNaming::unnamedKey);
}

// The shortcut service fires a combination on the key bearing its symbol, so on a German
// layout the key in the US Y place, labelled Z, records as Z.
TEST(WaylandKeyCodesTest, GermanLayoutKeysReadBySymbol) {
    EXPECT_EQ(waylandKeyEvent(21 + xkb, XK_z, 0x8), (KeyEvent{6, 0x80000}));   // Alt + Z
    EXPECT_EQ(waylandKeyEvent(44 + xkb, XK_y, 0x8), (KeyEvent{16, 0x80000}));  // Alt + Y
    EXPECT_EQ(waylandKeyEvent(44 + xkb, XK_Y, 0x1 | 0x4), (KeyEvent{16, 0x60000}))
        << "a shifted letter still names its key";
    EXPECT_EQ(waylandKeyEvent(21 + xkb, XK_Z, 0x2 | 0x8), (KeyEvent{6, 0x80000}))
        << "a capital from CapsLock names its key";
    EXPECT_EQ(waylandKeyEvent(4 + xkb, XK_3, 0x40), (KeyEvent{20, 0x100000}));  // Super + 3
}

// A symbol that the US layout puts elsewhere, or on another level, is not the key's own:
// its place names it.
TEST(WaylandKeyCodesTest, SymbolsWithoutTheirOwnKeyReadByPlace) {
    EXPECT_EQ(waylandKeyEvent(3 + xkb, XK_quotedbl, 0x1 | 0x8), (KeyEvent{19, 0xa0000}))
        << "German Shift + 2 is the 2 key, not the apostrophe key";
    EXPECT_EQ(waylandKeyEvent(8 + xkb, XK_slash, 0x1 | 0x4), (KeyEvent{26, 0x60000}))
        << "German Shift + 7 is the 7 key, not the slash key";
    EXPECT_EQ(waylandKeyEvent(43 + xkb, XK_numbersign, 0x8), (KeyEvent{42, 0x80000}))
        << "the German # key is not the 3 key, whose shifted US legend it is";
    EXPECT_EQ(waylandKeyEvent(12 + xkb, XK_ssharp, 0x8), (KeyEvent{27, 0x80000}));
    EXPECT_EQ(waylandKeyEvent(44 + xkb, XK_Cyrillic_ya, 0x4), (KeyEvent{6, 0x40000}));
    EXPECT_EQ(waylandKeyEvent(15 + xkb, XK_ISO_Left_Tab, 0x1), (KeyEvent{48, 0x20000}));
}

}  // namespace
