#include "settings/ColorHex.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using platform::Color;

void expectRgb(const std::optional<Color>& color, int r, int g, int b) {
    ASSERT_TRUE(color.has_value());
    EXPECT_EQ(color->space, Color::Space::sRGB);
    EXPECT_DOUBLE_EQ(color->red, r / 255.0);
    EXPECT_DOUBLE_EQ(color->green, g / 255.0);
    EXPECT_DOUBLE_EQ(color->blue, b / 255.0);
    EXPECT_DOUBLE_EQ(color->alpha, 1.0);
}

TEST(ColorFromHex, AcceptsHashCaseAndSurroundingWhiteSpace) {
    for (const char* text :
         {"#66746A", "66746A", "66746a", "#66746a", "  #66746A\n", "\t66746A \r\n"})
        expectRgb(colorFromHex(text), 0x66, 0x74, 0x6A);
}

TEST(ColorFromHex, RejectsWrongLengthsAndForeignCharacters) {
    for (const char* text : {"", "#", "#FFF", "#66746A00", "##66746A", "66746G", "6674 6A",
                             "0x6674", "#-00001", "-00001", "-12345"})
        EXPECT_FALSE(colorFromHex(text).has_value()) << '"' << text << '"';
}

TEST(ColorFromHex, FollowsThePlatformsSignRules) {
    expectRgb(colorFromHex("+12345"), 0x01, 0x23, 0x45);  // five digits after a plus
    expectRgb(colorFromHex("-00000"), 0, 0, 0);           // minus zero is zero
    expectRgb(colorFromHex("#+FFFFF"), 0x0F, 0xFF, 0xFF);
}

// Six upper-case digits without hash; a colour without an sRGB form reads as the default border.
TEST(HexString, FormatsSixUpperCaseDigitsWithoutHash) {
    EXPECT_EQ(hexString(*colorFromHex("3db6a6")), "3DB6A6");
    EXPECT_EQ(hexString(Color::sRGB(0.5, 0, 1, 0.3)), "8000FF");  // 127.5 rounds up, alpha dropped
    EXPECT_EQ(hexString(Color::clear()), "000000");
    EXPECT_EQ(hexString(Color::white(0.12)), "FFFFFF");
    EXPECT_EQ(hexString(Color{Color::Space::pattern, 0.1, 0.2, 0.3, 1}), "66746A");
}

// A component that is not a number, or infinite, counts as 0: always six digits.
TEST(HexString, ComponentsThatAreNotFiniteCountAsZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(hexString(Color::sRGB(nan, 1, 0.5, 1)), "00FF80");
    EXPECT_EQ(hexString(Color::sRGB(1, inf, -inf, 1)), "FF0000");
    EXPECT_EQ(hexString(Color::sRGB(nan, nan, nan, nan)), "000000");
}

TEST(HexString, ParsingAndFormattingAreInverseForEverySixDigitValue) {
    char text[8];
    for (unsigned value = 0; value <= 0xFFFFFF; value += 0x010203) {
        std::snprintf(text, sizeof text, "%06X", value);
        ASSERT_EQ(hexString(*colorFromHex(text)), text);
    }
}

}  // namespace
