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

TEST_F(SettingsTest, SetBorderColorStoresSixDigitsAndReadsBack) {
    Settings::setBorderColor(*colorFromHex("#F2B23E"));
    EXPECT_EQ(std::get<std::string>(desktop.defaults[Settings::colorKey]), "F2B23E");
    EXPECT_EQ(Settings::borderColor(), *colorFromHex("F2B23E"));
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

TEST_F(SettingsTest, KeyCodeTwoIsTheSmallestReadBackUnchanged) {
    store(Settings::kcKey, 1);
    EXPECT_EQ(Settings::keyCode(), 35);
    store(Settings::kcKey, 2);
    EXPECT_EQ(Settings::keyCode(), 2);
    store(Settings::kcKey, 65535);
    EXPECT_EQ(Settings::keyCode(), 65535);
}

TEST_F(SettingsTest, ValuesOnlyAnOutsideEditCanStoreReadAsTheDefaults) {
    store(Settings::kcKey, 65536 + 12);  // would wrap round to the Q key
    EXPECT_EQ(Settings::keyCode(), 35);
    store(Settings::modsKey, -0x80000);
    EXPECT_EQ(Settings::modifiers(), 0x80000u);
    Settings::resetDefaultsIfNeeded();
    EXPECT_FALSE(stored(Settings::modsKey));
}

TEST_F(SettingsTest, MaskKeepsOnlyTheFiveShortcutModifiers) {
    EXPECT_EQ(Settings::mask(0x10000 | 0x80000 | 0x100 | 0x1000000),
              0x80000u);  // caps lock dropped
    EXPECT_EQ(Settings::mask(0xFFFFFFFF), 0x9E0000u);
}

TEST_F(SettingsTest, CarbonMaskSumsTheFourCarbonModifiers) {
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
