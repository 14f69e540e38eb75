#include <cctype>
#include <cmath>
#include <sstream>

#include "app/NumberText.h"
#include "platform/Button.h"
#include "platform/TextField.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimMenuBar.h"
#include "settings/KeyNames.h"
#include "settings/L10n.h"
#include "settings/Settings.h"
#include "settings/Swatch.h"
#include "simulate/InterfaceText.h"
#include "simulate/ScenarioCommands.h"

namespace {

// Runs on the copy's main queue, as the copy's own work does, then lets it settle.
void onMainOf(Scenario& s, int32_t pid, std::function<void()> work) {
    s.desktop().postMainFor(pid, 0, std::move(work));
    s.desktop().runUntilIdle();
}

// Through the status menu's settings item, as the user opens it.
void open(Scenario& s, int32_t pid) {
    if (!s.desktop().shell.menuBar.openMenu(pid))
        throw ScenarioError{"the program has no status menu to open"};
    if (!s.desktop().shell.menuBar.choose(pid, L10n::settings()))
        throw ScenarioError{"the status menu has no settings item"};
}

// The program's settings window: its only window that is not a panel.
std::shared_ptr<sim::SimProgramWindow> settingsWindow(Scenario& s) {
    const auto windows = s.desktop().ownWindows.all();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (!(*it)->isPanel()) return *it;
    throw ScenarioError{"the settings window has not been opened"};
}

// The controls on the window's glass, back to front.
std::vector<std::shared_ptr<platform::View>> controls(Scenario& s) {
    const auto root = settingsWindow(s)->contentView();
    if (!root || root->subviews().empty()) return {};
    return root->subviews().front()->subviews();
}

// Its buttons in layout order: PL, EN, the swatches, the recorder, Close, Quit.
std::vector<std::shared_ptr<platform::Button>> buttons(Scenario& s) {
    std::vector<std::shared_ptr<platform::Button>> found;
    for (const auto& view : controls(s))
        if (auto button = std::dynamic_pointer_cast<platform::Button>(view))
            found.push_back(button);
    if (found.size() != 5 + Swatch::all().size())
        throw ScenarioError{"the settings window's buttons are not as laid out"};
    return found;
}

std::shared_ptr<platform::Button> buttonNamed(Scenario& s, const Scenario::Args& args) {
    const auto all = buttons(s);
    const size_t swatches = all.size() - 5;
    const std::string& which = args[1];
    if (which == "language" && args.size() > 2 && (args[2] == "pl" || args[2] == "en"))
        return all[args[2] == "pl" ? 0 : 1];
    if (which == "swatch" && args.size() > 2) {
        const int64_t index = scenarioInteger(args[2]);
        if (index < 0 || static_cast<size_t>(index) >= swatches)
            throw ScenarioError{"no swatch " + args[2]};
        return all[2 + static_cast<size_t>(index)];
    }
    if (which == "recorder") return all[2 + swatches];
    if (which == "close") return all[3 + swatches];
    if (which == "quit") return all[4 + swatches];
    throw ScenarioError{"settings press language pl|en | swatch INDEX | recorder | close | quit"};
}

void press(Scenario& s, const Scenario::Args& args, int32_t pid) {
    const auto button = buttonNamed(s, args);
    onMainOf(s, pid, [button] { button->performClick(); });
}

uint64_t modifierFlag(const std::string& word) {
    if (word == "shift") return Settings::shiftFlag;
    if (word == "control" || word == "ctrl") return Settings::controlFlag;
    if (word == "option" || word == "alt") return Settings::optionFlag;
    if (word == "command" || word == "cmd") return Settings::commandFlag;
    if (word == "function" || word == "fn") return Settings::functionFlag;
    if (word == "capslock") return 0x10000;
    throw ScenarioError{"unknown modifier \"" + word + "\""};
}

uint16_t keyCodeOf(const std::string& word) {
    for (const auto& [code, name] : keyNames())
        if (name == word) return static_cast<uint16_t>(code);
    if (!word.empty() && std::isdigit(static_cast<unsigned char>(word[0])))
        return static_cast<uint16_t>(scenarioIntegerIn(word, 0, 0xFFFF));
    throw ScenarioError{"unknown key \"" + word + "\""};
}

// "control+option+K": a key-down with those modifier flags, through the local monitors.
void typeKey(Scenario& s, const std::string& combination, int32_t pid) {
    std::vector<std::string> words;
    std::istringstream parts(combination);
    for (std::string word; std::getline(parts, word, '+');)
        words.push_back(word);
    if (words.empty()) throw ScenarioError{"no key given"};
    uint64_t flags = 0;
    for (size_t i = 0; i + 1 < words.size(); ++i)
        flags |= modifierFlag(words[i]);
    const uint16_t keyCode = keyCodeOf(words.back());
    auto& monitors = s.desktop().keyMonitors;
    sim::SimKeyMonitors::Delivery delivery;
    onMainOf(s, pid, [&] { delivery = monitors.keyDown(keyCode, flags); });
    s.out() << "key " << combination << ": "
            << (!delivery.delivered         ? "swallowed"
                : delivery.reachedKeyWindow ? "reached the key window"
                                            : "reached no window")
            << "\n";
}

void settings(Scenario& s, const Scenario::Args& args) {
    if (args[0] == "open") return open(s, s.runningCopyAt(args, 1));
    if (args[0] == "press" && args.size() >= 2) {
        const bool hasArgument = args[1] == "language" || args[1] == "swatch";
        return press(s, args, s.runningCopyAt(args, hasArgument ? 3 : 2));
    }
    if (args[0] == "key" && args.size() >= 2) return typeKey(s, args[1], s.runningCopyAt(args, 2));
    throw ScenarioError{"settings open | settings press WHAT | settings key COMBINATION"};
}

std::string fontText(const platform::Font& font) {
    return font.name + "/" + decimalText(font.size);
}

std::string animationsText(const platform::Layer& layer) {
    std::string text = "animations=[";
    const auto keys = layer.animationKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        const auto animation = layer.animation(keys[i]);
        if (!animation) continue;
        text += (i ? " " : "") + keys[i] + ":" + animation->keyPath + "(";
        for (size_t v = 0; v < animation->values.size(); ++v)
            text += (v ? " " : "") + decimalText(animation->values[v]);
        text += ")/" + decimalText(animation->duration) +
                (std::isinf(animation->repeatCount) ? " forever" : "");
    }
    return text + "]";
}

// Background, border and running animations of the control's layer.
std::string lookText(const platform::View& view) {
    const auto layer = view.layer();
    if (!layer) return "";
    const auto background = layer->backgroundColor();
    return " background=" + (background ? colorText(*background) : std::string("-")) +
           " border=" + colorText(layer->borderColor()) + "/" + decimalText(layer->borderWidth()) +
           " " + animationsText(*layer);
}

std::string controlText(const platform::View& view, size_t& swatchIndex) {
    if (const auto* label = dynamic_cast<const platform::TextField*>(&view))
        return "label \"" + label->stringValue() + "\" " + fontText(label->font()) + " " +
               colorText(label->textColor());
    const auto* button = dynamic_cast<const platform::Button*>(&view);
    if (button == nullptr) return "view" + lookText(view);
    if (button->title().empty()) {
        const auto swatches = Swatch::all();
        const std::string name =
            swatchIndex < swatches.size() ? swatches[swatchIndex].name : std::string("?");
        return "swatch " + std::to_string(swatchIndex++) + " " + name + lookText(view);
    }
    return "button \"" + button->title() + "\" tag=" + std::to_string(button->tag()) + " " +
           fontText(button->font()) + lookText(view);
}

// The swatch with the thick ring, or none.
std::string selectedSwatchText(Scenario& s) {
    const auto all = buttons(s);
    const auto swatches = Swatch::all();
    for (size_t i = 0; i < swatches.size(); ++i)
        if (all[2 + i]->layer()->borderWidth() == 2.5)
            return std::to_string(i) + " " + swatches[i].name;
    return "none";
}

void dumpSettingsWindow(Scenario& s) {
    const auto window = settingsWindow(s);
    s.out() << "settings-window: " << windowText(*window)
            << " key=" << (window->isKeyWindow() ? "true" : "false") << "\n";
    size_t swatchIndex = 0;
    for (const auto& view : controls(s))
        s.out() << "  " << controlText(*view, swatchIndex) << "\n";
    s.out() << "  selected swatch: " << selectedSwatchText(s) << "\n";
}

}  // namespace

void defineSettingsCommands(Scenario& scenario) {
    scenario.define("settings", 1,
                    "settings open [PID] | settings press language pl|en | swatch INDEX | "
                    "recorder | close | quit [PID] | settings key [MODIFIER+...]KEY [PID]",
                    settings);
    Scenario::Handler dumpOthers = scenario.handlerOf("dump");
    scenario.define("dump", 1, "dump defaults|settings|log|copies|pinned|settings-window",
                    [dumpOthers](Scenario& s, const Scenario::Args& args) {
                        if (args[0] != "settings-window") return dumpOthers(s, args);
                        s.desktop().runUntilIdle();
                        dumpSettingsWindow(s);
                    });
}
