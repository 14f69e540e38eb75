#include "settings/Settings.h"

#include <gtest/gtest.h>

#include "settings/ColorHex.h"
#include "support/SimFixture.h"

namespace {

class SettingsTest : public SimFixture {
protected:
    void store(const std::string& key, int64_t value) { desktop.defaults[key] = value; }
    void store(const std::string& key, const std::string& value) { desktop.defaults[key] = value; }
    bool stored(const std::string& key) const { return desktop.defaults.count(key) > 0; }
};

TEST_F(SettingsTest, EmptyStoreReadsTheDefaults) {
    EXPECT_EQ(hexString(Settings::borderColor()), "66746A");
    EXPECT_EQ(Settings::keyCode(), 35);
    EXPECT_EQ(Settings::modifiers(), 0x80000u);
    EXPECT_EQ(Settings::language(), "pl");
    Settings::resetDefaultsIfNeeded();
    EXPECT_TRUE(desktop.defaults.empty());
}

TEST_F(SettingsTest, BorderColourReadsAnyAcceptedTextAndFallsBackOtherwise) {
    for (const char* text : {"3DB6A6", "#3db6a6", " 3DB6A6\n"}) {
        store(Settings::colorKey, std::string(text));
        EXPECT_EQ(hexString(Settings::borderColor()), "3DB6A6") << text;
    }
    for (const char* text : {"3DB6A", "3DB6A6FF", "3DB6AZ"}) {
        store(Settings::colorKey, std::string(text));
        EXPECT_EQ(hexString(Settings::borderColor()), "66746A") << text;
    }
}

// Six digits for any colour that shows, opaque black included; alpha is dropped.
TEST_F(SettingsTest, SetBorderColorStoresSixDigitsForAColourThatShows) {
    Settings::setBorderColor(platform::Color::sRGB(0, 0, 0, 1));
    EXPECT_EQ(std::get<std::string>(desktop.defaults[Settings::colorKey]), "000000");
    EXPECT_EQ(Settings::borderColor(), platform::Color::sRGB(0, 0, 0, 1));
    Settings::setBorderColor(platform::Color::sRGB(1, 0, 0, 0.5));
    EXPECT_EQ(std::get<std::string>(desktop.defaults[Settings::colorKey]), "FF0000");
}

TEST_F(SettingsTest, SaveShortcutNeverStoresAKeyBelowOneOrAnEmptySet) {
    Settings::saveShortcut(0, 0x100000);
    EXPECT_EQ(std::get<int64_t>(desktop.defaults[Settings::kcKey]), 1);
    EXPECT_EQ(Settings::keyCode(), 35);
    EXPECT_EQ(Settings::modifiers(), 0x100000u);

    Settings::saveShortcut(12, 0);
    EXPECT_EQ(Settings::keyCode(), 12);
    EXPECT_EQ(std::get<int64_t>(desktop.defaults[Settings::modsKey]), 0x80000);
}

// Key codes below 2 or from 65536 up and negative modifiers (only an outside edit stores them)
// read as the defaults.
TEST_F(SettingsTest, StoredValuesOutOfRangeReadAsTheDefaults) {
    for (const auto& [stored, read] : {std::pair<int64_t, int64_t>{1, 35},
                                       {2, 2},
                                       {65535, 65535},
                                       {65536 + 12, 35}}) {  // 65548 would wrap to the Q key
        store(Settings::kcKey, stored);
        EXPECT_EQ(Settings::keyCode(), read) << stored;
    }
    store(Settings::modsKey, -0x80000);
    EXPECT_EQ(Settings::modifiers(), 0x80000u);
    Settings::resetDefaultsIfNeeded();
    EXPECT_FALSE(stored(Settings::modsKey));
}

TEST_F(SettingsTest, MaskKeepsTheFiveShortcutModifiersAndCarbonOfTheFour) {
    EXPECT_EQ(Settings::mask(0x10000 | 0x80000 | 0x100 | 0x1000000), 0x80000u);  // no caps lock
    EXPECT_EQ(Settings::mask(0xFFFFFFFF), 0x9E0000u);
    EXPECT_EQ(Settings::carbonOf(0x80000), 0x0800u);
    EXPECT_EQ(Settings::carbonOf(0x100000 | 0x80000), 0x0900u);
    EXPECT_EQ(Settings::carbonOf(0x20000 | 0x40000 | 0x80000 | 0x100000 | 0x800000), 0x1B00u);
    EXPECT_EQ(Settings::carbonOf(0x800000), 0u);
}

TEST_F(SettingsTest, ResetRemovesAShortcutWithoutACarbonModifier) {
    store(Settings::kcKey, 12);
    store(Settings::modsKey, 0x800000);  // function alone
    Settings::resetDefaultsIfNeeded();
    EXPECT_FALSE(stored(Settings::kcKey));
    EXPECT_FALSE(stored(Settings::modsKey));
    EXPECT_EQ(Settings::keyCode(), 35);

    store(Settings::kcKey, 12);
    store(Settings::modsKey, 0x20000);  // shift alone is usable
    Settings::resetDefaultsIfNeeded();
    EXPECT_EQ(Settings::keyCode(), 12);
    EXPECT_EQ(Settings::modifiers(), 0x20000u);
}

TEST_F(SettingsTest, LanguageReadsEnglishOnlyForEnAndStoresAnyCodeUnchanged) {
    Settings::setLanguage("en");
    EXPECT_EQ(Settings::language(), "en");
    Settings::setLanguage("de");
    EXPECT_EQ(Settings::language(), "pl");
    EXPECT_EQ(std::get<std::string>(desktop.defaults[Settings::languageKey]), "de");
    Settings::setLanguage("");
    EXPECT_EQ(Settings::language(), "pl");
}

}  // namespace
