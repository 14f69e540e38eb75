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

namespace L10n {
namespace {

std::string desktopEntryRemedy(const platform::PermissionRemedy& r) {
    const std::string file = r.folder + "/veltrin.desktop:\n\n" + r.entry + "\n";
    return pick(
               "KWin shares the window list and the window pictures only with a program "
               "started from the path in the Exec= line of a desktop entry that names them. "
               "Save these lines as ",
               "KWin udostępnia listę okien i ich obraz tylko programowi uruchomionemu ze "
               "ścieżki z wiersza Exec= pliku .desktop, który je wymienia. Zapisz te wiersze "
               "jako ") +
           file + pick("Then run ", "Potem wykonaj ") + r.refresh +
           pick(" and start Veltrin again from ", " i uruchom Veltrin ponownie z ") + r.program +
           pick(
               ". Installing Veltrin (cmake --install) or starting it with scripts/run writes "
               "such an entry for you.",
               ". Instalacja Veltrina (cmake --install) albo uruchomienie go przez scripts/run "
               "zapisuje taki plik za Ciebie.");
}

}  // namespace

std::string permissionRemedy(const platform::PermissionRemedy& remedy) {
    using Kind = platform::PermissionRemedy::Kind;
    switch (remedy.kind) {
        case Kind::desktopEntry:
            return desktopEntryRemedy(remedy);
        case Kind::otherCompositor:
            return pick(
                       "This compositor gives no program the window list and the window "
                       "pictures (it lacks ",
                       "Ten kompozytor nie udostępnia żadnemu programowi listy okien ani ich "
                       "obrazu (brakuje: ") +
                   remedy.missing +
                   pick(
                       "). Veltrin pins Wayland windows on KDE Plasma (KWin); in other "
                       "sessions it pins X11 windows through XWayland.",
                       "). Veltrin przypina okna Waylanda w KDE Plasma (KWin); w innych "
                       "sesjach przypina okna X11 przez XWayland.");
        case Kind::windowManager:
            return pick(
                "Veltrin finds, follows and raises windows through the window manager, "
                "and none that follows EWMH runs on this display. Start one (openbox, "
                "xfwm4, KWin and most others do) and then Veltrin again.",
                "Veltrin znajduje, śledzi i podnosi okna przez menedżera okien, a na tym "
                "ekranie nie działa żaden zgodny z EWMH. Uruchom taki (openbox, xfwm4, "
                "KWin i większość innych), a potem ponownie Veltrin.");
        case Kind::serverExtensions:
            return pick("The X server lacks what window pictures need: ",
                        "Serwerowi X brakuje tego, czego wymaga obraz okien: ") +
                   remedy.missing +
                   pick(". Start Veltrin on an X server that offers it (Xorg and Xvfb do).",
                        ". Uruchom Veltrin na serwerze X, który to udostępnia (Xorg i Xvfb "
                        "tak).");
    }
    return "";
}

}  // namespace L10n
