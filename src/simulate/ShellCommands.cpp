#include <cctype>
#include <sstream>

#include "hotkey/HotkeyManager.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimMenuBar.h"
#include "settings/KeyNames.h"
#include "settings/Settings.h"
#include "simulate/ScenarioCommands.h"

namespace {

struct Combination {
    uint32_t keyCode = 0;
    uint32_t modifiers = 0;  // event-manager mask
};

uint32_t modifierMask(const std::string& word) {
    if (word == "command" || word == "cmd") return 0x0100;
    if (word == "shift") return 0x0200;
    if (word == "option" || word == "alt") return 0x0800;
    if (word == "control" || word == "ctrl") return 0x1000;
    throw ScenarioError{"unknown modifier \"" + word + "\""};
}

// A key by its shown name ("P", "Space", "Esc") or by its virtual key code.
uint32_t keyCodeOf(const std::string& word) {
    for (const auto& [code, name] : keyNames())
        if (name == word) return static_cast<uint32_t>(code);
    if (!word.empty() && std::isdigit(static_cast<unsigned char>(word[0])))
        return static_cast<uint32_t>(scenarioIntegerIn(word, 0, 0xFFFF));
    throw ScenarioError{"unknown key \"" + word + "\""};
}

// "option+P", "command+shift+12": modifiers, then the key.
Combination combinationOf(const std::string& text) {
    Combination combination;
    std::istringstream parts(text);
    std::vector<std::string> words;
    for (std::string word; std::getline(parts, word, '+');)
        words.push_back(word);
    if (words.empty()) throw ScenarioError{"no keys given"};
    for (size_t i = 0; i + 1 < words.size(); ++i)
        combination.modifiers |= modifierMask(words[i]);
    combination.keyCode = keyCodeOf(words.back());
    return combination;
}

void pressKeys(Scenario& s, const Scenario::Args& args) {
    const Combination keys = combinationOf(args[0]);
    if (!s.desktop().shell.hotKeys.pressKeys(keys.keyCode, keys.modifiers))
        s.out() << "press " << args[0] << ": no hot key holds it\n";
    s.desktop().runUntilIdle();
}

void takeCombination(Scenario& s, const Scenario::Args& args) {
    const auto keyCode = static_cast<uint32_t>(scenarioIntegerIn(args[0], 0, 0xFFFF));
    const auto modifiers = static_cast<uint32_t>(scenarioIntegerIn(args[1], 0, 0xFFFF));
    if (s.desktop().shell.hotKeys.takeCombination(keyCode, modifiers) != 0)
        throw ScenarioError{"the combination is held already"};
}

// What the settings window does with a recorded shortcut: store it, then register it.
void shortcut(Scenario& s, const Scenario::Args& args) {
    const int64_t keyCode = scenarioInteger(args[0]);
    const auto flags = static_cast<uint64_t>(scenarioInteger(args[1]));
    const int32_t pid = s.runningCopyAt(args, 2);
    s.desktop().postMainFor(pid, 0, [keyCode, flags] {
        Settings::saveShortcut(keyCode, Settings::mask(flags));
        HotkeyManager::shared().reinstall();
    });
    s.desktop().runUntilIdle();
}

void openMenu(Scenario& s, int32_t pid) {
    const auto menu = s.desktop().shell.menuBar.openMenu(pid);
    if (!menu) throw ScenarioError{"the program has no status menu to open"};
    s.out() << "menu:\n";
    const auto lines = sim::SimMenuBar::describe(*menu);
    for (size_t i = 0; i < lines.size(); ++i)
        s.out() << "  " << i << " " << lines[i] << "\n";
}

void chooseFromMenu(Scenario& s, const std::string& which, int32_t pid) {
    auto& menuBar = s.desktop().shell.menuBar;
    const bool numeric = !which.empty() && std::isdigit(static_cast<unsigned char>(which[0]));
    const bool chosen = numeric ? menuBar.choose(pid, static_cast<size_t>(scenarioInteger(which)))
                                : menuBar.choose(pid, which);
    if (!chosen) s.out() << "menu choose " << which << ": no such enabled item\n";
    s.desktop().runUntilIdle();
}

void menu(Scenario& s, const Scenario::Args& args) {
    if (args[0] == "open") return openMenu(s, s.runningCopyAt(args, 1));
    if (args[0] == "choose" && args.size() >= 2)
        return chooseFromMenu(s, args[1], s.runningCopyAt(args, 2));
    throw ScenarioError{"menu open [PID], or menu choose INDEX|TITLE [PID]"};
}

void language(Scenario&, const Scenario::Args& args) {
    if (args[0] != "en" && args[0] != "pl") throw ScenarioError{"language en or pl"};
    Settings::setLanguage(args[0]);
}

void symbol(Scenario& s, const Scenario::Args& args) {
    auto& symbols = s.desktop().shell.images.symbols;
    if (args[1] == "on") {
        symbols.insert(args[0]);
    } else if (args[1] == "off") {
        symbols.erase(args[0]);
    } else {
        throw ScenarioError{"symbol NAME on|off"};
    }
}

void resources(Scenario& s, const Scenario::Args& args) {
    if (args[0] == "none") return s.desktop().shell.resourcesDirectory.reset();
    s.desktop().shell.resourcesDirectory = args[0];
}

}  // namespace

void defineShellCommands(Scenario& scenario) {
    // The session's program carries the repository's fonts and icon.
    scenario.desktop().shell.resourcesDirectory = VELTRIN_RESOURCES_DIR;
    scenario.define("press-keys", 1, "press-keys [MODIFIER+...]KEY", pressKeys);
    scenario.define("take-combination", 2, "take-combination KEYCODE MODS", takeCombination);
    scenario.define("shortcut", 2, "shortcut KEYCODE MODIFIER-FLAGS [PID]", shortcut);
    scenario.define("menu", 1, "menu open [PID] | menu choose INDEX|TITLE [PID]", menu);
    scenario.define("language", 1, "language en|pl", language);
    scenario.define("symbol", 2, "symbol NAME on|off", symbol);
    scenario.define("resources", 1, "resources FOLDER|none", resources);
}
