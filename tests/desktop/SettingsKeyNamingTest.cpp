#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <xcb/xcb_keysyms.h>

#include <memory>

#include "desktop/HeadlessDesktop.h"
#include "platform/desktop/x11/X11KeyNaming.h"
#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11Context.h"

namespace {

constexpr uint64_t shift = 0x20000, control = 0x40000, option = 0x80000, command = 0x100000;

// The key names of the X server's keyboard mapping, read by the desktop as the program does.
class SettingsKeyNamingTest : public testing::Test {
protected:
    xcb_keycode_t keycodeOf(xcb_keysym_t keysym) {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols.get(), keysym);
        const xcb_keycode_t code = codes != nullptr ? codes[0] : 0;
        std::free(codes);
        return code;
    }

    HeadlessDesktop desktop;
    desktop::X11Context context{desktop::X11Connection::open(desktop.display()), desktop.display()};
    desktop::X11KeyNaming naming{context};
    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols{
        xcb_key_symbols_alloc(context.main().get()), &xcb_key_symbols_free};
};

TEST_F(SettingsKeyNamingTest, NamesModifiersAndKeysAsALinuxDesktopDoes) {
    EXPECT_EQ(naming.modifierName(control), "Ctrl");
    EXPECT_EQ(naming.modifierName(option), "Alt");
    EXPECT_EQ(naming.modifierName(shift), "Shift");
    EXPECT_EQ(naming.modifierName(command), "Super");
    EXPECT_EQ(naming.keyName(36), "Return");
    EXPECT_EQ(naming.keyName(51), "Backspace");
    EXPECT_EQ(naming.keyName(122), "F1");
    EXPECT_EQ(naming.keyName(111), "F12");
    EXPECT_EQ(naming.keyName(40), std::nullopt);  // the common legend "K" serves
}

// Presses become the virtual key codes and flags of the logic; a key that no virtual key code
// names is still reported, so the recorder can say so.
TEST_F(SettingsKeyNamingTest, TranslatesPressesAndKnowsWhichKeysTheMappingHas) {
    const auto ctrlAltK = naming.keyEvent(keycodeOf(XK_k), XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
    EXPECT_EQ(ctrlAltK, (platform::KeyEvent{40, control | option}));
    const auto superShiftP = naming.keyEvent(keycodeOf(XK_p), XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT);
    EXPECT_EQ(superShiftP, (platform::KeyEvent{35, command | shift}));
    EXPECT_EQ(naming.keyEvent(keycodeOf(XK_Escape), XCB_MOD_MASK_LOCK).keyCode, 53);

    EXPECT_TRUE(naming.hasKey(40));
    EXPECT_TRUE(naming.hasKey(53));
    EXPECT_FALSE(naming.hasKey(platform::KeyNaming::unnamedKey));
    EXPECT_FALSE(naming.hasKey(10));  // no key of the US layout has this code

    const xcb_keycode_t play = keycodeOf(XF86XK_AudioPlay);
    if (play == 0) GTEST_SKIP() << "this server's mapping has no media keys";
    EXPECT_EQ(naming.keyEvent(play, XCB_MOD_MASK_CONTROL),
              (platform::KeyEvent{platform::KeyNaming::unnamedKey, control}));
}

}  // namespace
