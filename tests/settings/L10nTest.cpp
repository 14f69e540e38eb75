#include "settings/L10n.h"

#include <gmock/gmock.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "settings/Settings.h"
#include "support/SimFixture.h"

namespace {

class L10nTest : public SimFixture {};

struct Text {
    std::function<std::string()> read;
    const char* polish;
    const char* english;
};

// Spelled out as bytes: the ellipsis is E2 80 A6 and the en dash E2 80 93, one character each.
const Text texts[] = {
    {L10n::lang, "pl", "en"},
    {L10n::pinActiveWindow, "Przypnij aktywne okno", "Pin active window"},
    {L10n::settings, "Ustawienia\xE2\x80\xA6", "Settings\xE2\x80\xA6"},
    {L10n::quit, "Wyj\xC5\x9B\x63ie", "Quit"},
    {L10n::close, "Zamknij", "Close"},
    {L10n::appName, "Veltrin", "Veltrin"},
    {L10n::borderColorLabel, "Kolor ramki", "Border color"},
    {L10n::shortcutLabel, "Skr\xC3\xB3t klawiszowy", "Keyboard shortcut"},
    {L10n::pressShortcut, "Wci\xC5\x9Bnij kombinacj\xC4\x99\xE2\x80\xA6",
     "Press shortcut\xE2\x80\xA6"},
    {L10n::languageLabel, "J\xC4\x99zyk", "Language"},
    {L10n::swatchNone, "Brak", "None"},
    {[] { return L10n::accessibilityTitle(true); },
     "Dost\xC4\x99pno\xC5\x9B\xC4\x87 \xE2\x80\x93 Przydzielono",
     "Accessibility \xE2\x80\x93 Granted"},
    {[] { return L10n::accessibilityTitle(false); },
     "Dost\xC4\x99pno\xC5\x9B\xC4\x87 \xE2\x80\x93 Nie przydzielono",
     "Accessibility \xE2\x80\x93 Not Granted"},
    {[] { return L10n::screenRecordingTitle(true); }, "Nagrywanie ekranu \xE2\x80\x93 Przydzielono",
     "Screen Recording \xE2\x80\x93 Granted"},
    {[] { return L10n::screenRecordingTitle(false); },
     "Nagrywanie ekranu \xE2\x80\x93 Nie przydzielono",
     "Screen Recording \xE2\x80\x93 Not Granted"},
};

// Nothing stored, an unknown or an empty code all give Polish; only "en" gives English.
TEST_F(L10nTest, EveryTextInBothLanguages) {
    for (const auto& text : texts)
        EXPECT_EQ(text.read(), text.polish);
    for (const char* code : {"de", "", "EN", "en "}) {
        Settings::setLanguage(code);
        EXPECT_EQ(L10n::lang(), "pl") << code;
        EXPECT_EQ(L10n::close(), "Zamknij") << code;
    }
    Settings::setLanguage("en");
    for (const auto& text : texts)
        EXPECT_EQ(text.read(), text.english);
    Settings::setLanguage("pl");  // every read follows the stored language
    EXPECT_EQ(L10n::quit(), "Wyj\xC5\x9B\x63ie");
}

TEST_F(L10nTest, UnpinTitleIsSingularOnlyForOne) {
    const std::tuple<const char*, int64_t, const char*> cases[] = {
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
    for (const auto& [language, count, title] : cases) {
        Settings::setLanguage(language);
        EXPECT_EQ(L10n::unpinTitle(count), title) << language << " " << count;
    }
}

// Each way to a permission reads in the stored language and carries what the desktop gave:
// the entry's lines, where to save them, the refresh command, the path to start from, or
// what is missing.
TEST_F(L10nTest, PermissionRemediesCarryTheDesktopsFactsInEitherLanguage) {
    using Kind = platform::PermissionRemedy::Kind;
    const platform::PermissionRemedy entry{Kind::desktopEntry,
                                           "/opt/v/veltrin",
                                           "[Desktop Entry]\nExec=/opt/v/veltrin\n",
                                           "/home/u/.local/share/applications",
                                           "kbuildsycoca6",
                                           ""};
    const auto compositor =
        platform::PermissionRemedy::of(Kind::otherCompositor, "zwlr_layer_shell_v1");
    const auto manager = platform::PermissionRemedy::of(Kind::windowManager);
    const auto server = platform::PermissionRemedy::of(Kind::serverExtensions, "DAMAGE, MIT-SHM");
    const std::tuple<const char*, platform::PermissionRemedy, std::vector<std::string>> cases[] = {
        {"en",
         entry,
         {"Save these lines as /home/u/.local/share/applications/veltrin.desktop:\n\n"
          "[Desktop Entry]\nExec=/opt/v/veltrin\n\nThen run kbuildsycoca6 and start Veltrin "
          "again from /opt/v/veltrin."}},
        {"pl",
         entry,
         {"Zapisz te wiersze jako /home/u/.local/share/applications/veltrin.desktop:\n\n"
          "[Desktop Entry]\nExec=/opt/v/veltrin\n\nPotem wykonaj kbuildsycoca6 i uruchom "
          "Veltrin ponownie z /opt/v/veltrin."}},
        {"en", compositor, {"(it lacks zwlr_layer_shell_v1)", "KDE Plasma"}},
        {"pl", compositor, {"(brakuje: zwlr_layer_shell_v1)", "KDE Plasma"}},
        {"en", manager, {"none that follows EWMH runs"}},
        {"pl", manager, {"nie dzia\xC5\x82\x61 \xC5\xBC\x61\x64\x65n zgodny z EWMH"}},
        {"en", server, {"lacks what window pictures need: DAMAGE, MIT-SHM."}},
        {"pl", server, {"wymaga obraz okien: DAMAGE, MIT-SHM."}},
    };
    for (const auto& [language, remedy, parts] : cases) {
        Settings::setLanguage(language);
        const std::string text = L10n::permissionRemedy(remedy);
        for (const std::string& part : parts)
            EXPECT_NE(text.find(part), std::string::npos) << language << ": " << text;
    }
}

}  // namespace
