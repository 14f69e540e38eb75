#include "settings/L10n.h"

#include <gmock/gmock.h>

#include "settings/Settings.h"
#include "support/SimFixture.h"

namespace {

class L10nTest : public SimFixture {};

struct Texts {
    const char* language;
    std::string pinActiveWindow, settings, quit, close, borderColorLabel, shortcutLabel,
        pressShortcut, languageLabel, swatchNone;
};

void expectTexts(const Texts& t) {
    EXPECT_EQ(L10n::lang(), t.language);
    EXPECT_EQ(L10n::pinActiveWindow(), t.pinActiveWindow);
    EXPECT_EQ(L10n::settings(), t.settings);
    EXPECT_EQ(L10n::quit(), t.quit);
    EXPECT_EQ(L10n::close(), t.close);
    EXPECT_EQ(L10n::appName(), "Veltrin");
    EXPECT_EQ(L10n::borderColorLabel(), t.borderColorLabel);
    EXPECT_EQ(L10n::shortcutLabel(), t.shortcutLabel);
    EXPECT_EQ(L10n::pressShortcut(), t.pressShortcut);
    EXPECT_EQ(L10n::languageLabel(), t.languageLabel);
    EXPECT_EQ(L10n::swatchNone(), t.swatchNone);
}

// Spelled out as bytes: the ellipsis is E2 80 A6, one character.
const Texts polish{"pl",
                   "Przypnij aktywne okno",
                   "Ustawienia\xE2\x80\xA6",
                   "Wyj\xC5\x9B\x63ie",
                   "Zamknij",
                   "Kolor ramki",
                   "Skr\xC3\xB3t klawiszowy",
                   "Wci\xC5\x9Bnij kombinacj\xC4\x99\xE2\x80\xA6",
                   "J\xC4\x99zyk",
                   "Brak"};
const Texts english{
    "en",           "Pin active window", "Settings\xE2\x80\xA6",       "Quit",     "Close",
    "Border color", "Keyboard shortcut", "Press shortcut\xE2\x80\xA6", "Language", "None"};

TEST_F(L10nTest, NothingStoredGivesPolish) {
    expectTexts(polish);
}

TEST_F(L10nTest, UnknownOrEmptyCodeGivesPolish) {
    for (const char* code : {"de", "", "EN", "en "}) {
        Settings::setLanguage(code);
        SCOPED_TRACE(code);
        expectTexts(polish);
    }
}

TEST_F(L10nTest, EnglishWhenChosen) {
    Settings::setLanguage("en");
    expectTexts(english);
}

TEST_F(L10nTest, EveryReadFollowsTheStoredLanguage) {
    Settings::setLanguage("en");
    EXPECT_EQ(L10n::quit(), "Quit");
    Settings::setLanguage("pl");
    EXPECT_EQ(L10n::quit(), "Wyj\xC5\x9B\x63ie");
    Settings::setLanguage("en");
    EXPECT_EQ(L10n::swatchNone(), "None");
}

struct Plural {
    const char* language;
    int64_t count;
    const char* title;
};

TEST_F(L10nTest, UnpinTitleIsSingularOnlyForOne) {
    const Plural cases[] = {
        {"en", 1, "Unpin pinned window"},
        {"en", 3, "Unpin 3 windows"},
        {"en", 0, "Unpin 0 windows"},
        {"en", -1, "Unpin -1 windows"},
        {"pl", 1, "Odepnij przypi\xC4\x99te okno"},
        {"pl", 3, "Odepnij 3 okna"},
        {"pl", 5, "Odepnij 5 okna"},
        {"pl", 22, "Odepnij 22 okna"},
        {"pl", 1000000, "Odepnij 1000000 okna"},
    };
    for (const auto& c : cases) {
        Settings::setLanguage(c.language);
        EXPECT_EQ(L10n::unpinTitle(c.count), c.title) << c.language << " " << c.count;
    }
}

TEST_F(L10nTest, PermissionTitlesUseTheEnDash) {
    Settings::setLanguage("en");
    EXPECT_EQ(L10n::accessibilityTitle(false), "Accessibility \xE2\x80\x93 Not Granted");
    EXPECT_EQ(L10n::accessibilityTitle(true), "Accessibility \xE2\x80\x93 Granted");
    EXPECT_EQ(L10n::screenRecordingTitle(false), "Screen Recording \xE2\x80\x93 Not Granted");
    Settings::setLanguage("pl");
    EXPECT_EQ(L10n::screenRecordingTitle(true), "Nagrywanie ekranu \xE2\x80\x93 Przydzielono");
    EXPECT_EQ(L10n::accessibilityTitle(false),
              "Dost\xC4\x99pno\xC5\x9B\xC4\x87 \xE2\x80\x93 Nie przydzielono");
}

}  // namespace
