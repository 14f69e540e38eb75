#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "desktop/HeadlessDesktop.h"
#include "platform/desktop/x11/X11KeyCodes.h"
#include "settings/KeyNames.h"
#include "settings/Settings.h"

namespace {

using desktop::X11KeyCodes;

TEST(KeyCodeTable, EveryNamedKeyHasItsOwnKeysymAndReadsBack) {
    std::set<xcb_keysym_t> seen;
    for (const auto& [code, name] : keyNames()) {
        const auto keysym = X11KeyCodes::keysymOf(static_cast<uint32_t>(code));
        ASSERT_TRUE(keysym) << "key " << code << " (" << name << ")";
        EXPECT_TRUE(seen.insert(*keysym).second) << "key " << code << " shares its keysym";
        EXPECT_EQ(X11KeyCodes::keyCodeOf(*keysym), static_cast<uint32_t>(code)) << name;
    }
}

TEST(KeyCodeTable, ShiftedAndUnnamedKeysyms) {
    EXPECT_EQ(X11KeyCodes::keyCodeOf(XK_P), 35u);
    EXPECT_EQ(X11KeyCodes::keyCodeOf(XK_exclam), 18u);
    EXPECT_EQ(X11KeyCodes::keyCodeOf(XK_ISO_Left_Tab), 48u);
    EXPECT_EQ(X11KeyCodes::keyCodeOf(XK_KP_End), 83u);
    EXPECT_EQ(X11KeyCodes::keyCodeOf(XK_F1), 122u);
    EXPECT_FALSE(X11KeyCodes::keyCodeOf(XK_Alt_L));
    EXPECT_FALSE(X11KeyCodes::keysymOf(10));
    EXPECT_FALSE(X11KeyCodes::keysymOf(200));
}

// Hot keys take the event-manager mask, the recorder gives flags: both must agree.
TEST(KeyCodeTable, ModifierMaskAndFlagsMeanTheSameKeys) {
    const uint64_t flags[] = {Settings::shiftFlag, Settings::controlFlag, Settings::optionFlag,
                              Settings::commandFlag};
    for (unsigned subset = 0; subset < 16; ++subset) {
        uint64_t set = 0;
        for (unsigned bit = 0; bit < 4; ++bit)
            if (subset & (1u << bit)) set |= flags[bit];
        const uint16_t state = X11KeyCodes::modifierStateOfMask(Settings::carbonOf(set));
        EXPECT_EQ(X11KeyCodes::modifierFlagsOf(state), set) << "subset " << subset;
    }
    EXPECT_EQ(X11KeyCodes::modifierStateOfMask(0x0800), XCB_MOD_MASK_1);
    EXPECT_EQ(X11KeyCodes::modifierStateOfMask(0x0100), XCB_MOD_MASK_4);
    EXPECT_EQ(X11KeyCodes::modifierFlagsOf(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2), 0u);
}

class KeyCodeMapping : public ::testing::Test {
protected:
    static void SetUpTestSuite() { desktop_ = std::make_unique<HeadlessDesktop>(); }
    static void TearDownTestSuite() { desktop_.reset(); }
    void SetUp() override { ASSERT_NE(desktop_, nullptr); }

    static inline std::unique_ptr<HeadlessDesktop> desktop_;
};

// ISO_Enter is the one named key a PC keyboard lacks.
TEST_F(KeyCodeMapping, NamedKeysReachXKeyCodesAndComeBackFromAPress) {
    X11KeyCodes keyCodes(desktop_->x().connection());
    for (const auto& [code, name] : keyNames()) {
        const auto keycodes = keyCodes.keycodesOfKeyCode(static_cast<uint32_t>(code));
        if (code == 52) continue;
        ASSERT_FALSE(keycodes.empty()) << "key " << code << " (" << name << ")";
        xcb_key_press_event_t press{};
        press.detail = keycodes.front();
        press.state = XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_2;
        const desktop::X11KeyStroke expected{static_cast<uint32_t>(code),
                                             Settings::optionFlag | Settings::shiftFlag};
        EXPECT_EQ(keyCodes.strokeOf(press), expected) << "key " << code << " (" << name << ")";
    }
}

TEST_F(KeyCodeMapping, KeypadKeysAndUnnamedKeys) {
    X11KeyCodes keyCodes(desktop_->x().connection());
    xcb_key_press_event_t press{};
    press.detail = desktop_->x().keycode(XK_KP_End);
    EXPECT_EQ(keyCodes.strokeOf(press), (desktop::X11KeyStroke{83, 0}));
    press.detail = desktop_->x().keycode(XK_Shift_L);
    EXPECT_FALSE(keyCodes.strokeOf(press));
    EXPECT_EQ(keyCodes.numLockMask(), XCB_MOD_MASK_2);
}

}  // namespace
