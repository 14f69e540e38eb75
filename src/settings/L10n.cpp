#include "settings/L10n.h"

#include "settings/Settings.h"

namespace L10n {
namespace {

std::string pick(const char* english, const char* polish) {
    return lang() == "pl" ? polish : english;
}

std::string state(bool granted) {
    return granted ? pick("Granted", "Przydzielono") : pick("Not Granted", "Nie przydzielono");
}

}  // namespace

std::string lang() {
    return Settings::language();
}

std::string pinActiveWindow() {
    return pick("Pin active window", "Przypnij aktywne okno");
}
std::string settings() {
    return pick("Settings\u2026", "Ustawienia\u2026");
}
std::string quit() {
    return pick("Quit", "Wyjście");
}
std::string close() {
    return pick("Close", "Zamknij");
}
std::string appName() {
    return "Veltrin";
}
std::string borderColorLabel() {
    return pick("Border color", "Kolor ramki");
}
std::string shortcutLabel() {
    return pick("Keyboard shortcut", "Skrót klawiszowy");
}
std::string pressShortcut() {
    return pick("Press shortcut\u2026", "Wciśnij kombinację\u2026");
}
std::string keyUnusable() {
    return pick("Can\u2019t use this key \u2013 try another",
                "Klawisz niedostępny \u2013 wybierz inny");
}
std::string languageLabel() {
    return pick("Language", "Język");
}
std::string swatchNone() {
    return pick("None", "Brak");
}

std::string unpinTitle(int64_t count) {
    if (count == 1) return pick("Unpin pinned window", "Odepnij przypięte okno");
    const std::string n = std::to_string(count);
    return pick("Unpin ", "Odepnij ") + n + pick(" windows", " okna");
}

std::string accessibilityTitle(bool granted) {
    return pick("Accessibility \u2013 ", "Dostępność \u2013 ") + state(granted);
}

std::string screenRecordingTitle(bool granted) {
    return pick("Screen Recording \u2013 ", "Nagrywanie ekranu \u2013 ") + state(granted);
}

}  // namespace L10n
