#include "settings/KeyNames.h"

#include <gmock/gmock.h>

#include <tuple>

#include "settings/Settings.h"
#include "support/SimFixture.h"

namespace {

class KeyNamesTest : public SimFixture {};

// The US layout's legends by virtual key code, typed from the key map, not from the code.
TEST_F(KeyNamesTest, HoldsExactlyTheFiftyEightKeys) {
    // clang-format off
    const std::map<int, std::string> expected{
        {0, "A"}, {1, "S"}, {2, "D"}, {3, "F"}, {4, "H"}, {5, "G"}, {6, "Z"}, {7, "X"}, {8, "C"},
        {9, "V"}, {11, "B"}, {12, "Q"}, {13, "W"}, {14, "E"}, {15, "R"}, {16, "Y"}, {17, "T"},
        {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {22, "6"}, {23, "5"}, {24, "="}, {25, "9"},
        {26, "7"}, {27, "-"}, {28, "8"}, {29, "0"}, {30, "]"}, {31, "O"}, {32, "U"}, {33, "["},
        {34, "I"}, {35, "P"}, {36, "\xE2\x86\xA9"}, {37, "L"}, {38, "J"}, {39, "\x27"}, {40, "K"},
        {41, ";"}, {42, "\x5C"}, {43, ","}, {44, "/"}, {45, "N"}, {46, "M"}, {47, "."},
        {48, "Tab"}, {49, "Space"}, {50, "\x60"}, {51, "\xE2\x8C\xAB"}, {52, "\xE2\x86\xA9"},
        {53, "Esc"}, {76, "\xE2\x8F\x8E"}, {123, "\xE2\x86\x90"}, {124, "\xE2\x86\x92"},
        {125, "\xE2\x86\x93"}, {126, "\xE2\x86\x91"}};
    // clang-format on
    ASSERT_EQ(expected.size(), 58u);
    EXPECT_EQ(keyNames(), expected);
}

TEST_F(KeyNamesTest, FormatsModifiersInFixedOrderThenTheKey) {
    EXPECT_EQ(formatShortcut(), "\xE2\x8C\xA5+P");  // nothing stored
    const uint64_t all =
        Settings::commandFlag | Settings::shiftFlag | Settings::optionFlag | Settings::controlFlag;
    const std::tuple<int64_t, uint64_t, const char*> cases[] = {
        {12, all, "\xE2\x8C\x83+\xE2\x8C\xA5+\xE2\x87\xA7+\xE2\x8C\x98+Q"},
        {49, Settings::commandFlag, "\xE2\x8C\x98+Space"},
        {53, Settings::optionFlag, "\xE2\x8C\xA5+Esc"},
        {122, Settings::commandFlag, "\xE2\x8C\x98+Key122"},
        {10, Settings::shiftFlag, "\xE2\x87\xA7+Key10"},
        {35, Settings::functionFlag, "Fn+P"},
        {0, Settings::commandFlag, "\xE2\x8C\x98+P"},  // stored as 1, read back as 35
        {42, all | Settings::functionFlag,
         "\xE2\x8C\x83+\xE2\x8C\xA5+\xE2\x87\xA7+\xE2\x8C\x98+Fn+\x5C"},
    };
    for (const auto& [keyCode, modifiers, text] : cases) {
        Settings::saveShortcut(keyCode, modifiers);
        EXPECT_EQ(formatShortcut(), text) << keyCode << " " << modifiers;
    }
    // Bits outside the five add no symbol.
    desktop.defaults[Settings::kcKey] = int64_t{0};
    desktop.defaults[Settings::modsKey] = int64_t(0x10000 | Settings::commandFlag);  // caps lock
    EXPECT_EQ(formatShortcut(), "\xE2\x8C\x98+P");
}

// The desktop names the modifiers and may rename a key; the common table names the rest.
TEST_F(KeyNamesTest, TakesTheNamesTheDesktopGives) {
    desktop.keyNaming.modifierNames = {{Settings::controlFlag, "Ctrl"},
                                       {Settings::optionFlag, "Alt"},
                                       {Settings::shiftFlag, "Shift"},
                                       {Settings::commandFlag, "Super"},
                                       {Settings::functionFlag, "Fn"}};
    desktop.keyNaming.keyNames = {{51, "Backspace"}, {122, "F1"}};
    Settings::saveShortcut(40, Settings::controlFlag | Settings::optionFlag);
    EXPECT_EQ(formatShortcut(), "Ctrl+Alt+K");
    Settings::saveShortcut(35, Settings::commandFlag | Settings::shiftFlag);
    EXPECT_EQ(formatShortcut(), "Shift+Super+P");
    Settings::saveShortcut(51, Settings::controlFlag);
    EXPECT_EQ(formatShortcut(), "Ctrl+Backspace");
    Settings::saveShortcut(122, Settings::functionFlag);
    EXPECT_EQ(formatShortcut(), "Fn+F1");
}

}  // namespace
