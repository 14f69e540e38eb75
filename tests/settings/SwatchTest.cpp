#include "settings/Swatch.h"

#include <gmock/gmock.h>

#include "settings/ColorHex.h"
#include "settings/Settings.h"
#include "support/SimFixture.h"

namespace {

class SwatchTest : public SimFixture {};

TEST_F(SwatchTest, SevenInOrderWithTheirColours) {
    const auto swatches = Swatch::all();
    const std::vector<std::pair<std::string, std::string>> expected{
        {"Slate", "6B7A8F"}, {"Lavender", "9B8CFF"}, {"Teal", "3DB6A6"}, {"Rose", "F2708F"},
        {"Amber", "F2B23E"}, {"Mint", "7ED6A5"},     {"Brak", "000000"},
    };
    ASSERT_EQ(swatches.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(swatches[i].name, expected[i].first) << i;
        EXPECT_EQ(hexString(swatches[i].color), expected[i].second) << i;
    }
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(swatches[i].color.alpha, 1.0) << i;
    EXPECT_EQ(swatches[6].color, platform::Color::clear());
}

TEST_F(SwatchTest, TheSeventhNameFollowsTheLanguageOfEachCall) {
    Settings::setLanguage("en");
    const auto english = Swatch::all();
    Settings::setLanguage("pl");
    const auto polish = Swatch::all();
    EXPECT_EQ(english[6].name, "None");
    EXPECT_EQ(polish[6].name, "Brak");
    EXPECT_EQ(english[0].name, polish[0].name);
}

}  // namespace
