#include <string>

#include "pinning/PinManager.h"
#include "platform/sim/SimDesktop.h"
#include "settings/ColorHex.h"
#include "simulate/ScenarioCommands.h"

namespace {

// Whether an application tells its observers of its windows' moves and resizes.
void announce(Scenario& s, const Scenario::Args& args) {
    const int32_t pid = scenarioPid(args[0]);
    if (args[1] != "on" && args[1] != "off") throw ScenarioError{"announce PID on|off"};
    s.desktop().axObservers.setAnnounces(pid, args[1] == "on");
}

// Recolours every pinned frame, as a new colour picked in the settings does.
void borderColor(Scenario&, const Scenario::Args& args) {
    std::optional<platform::Color> color = platform::Color::clear();
    if (args[0] != "clear") color = colorFromHex(args[0]);
    if (!color) throw ScenarioError{"border-color RRGGBB|clear"};
    for (const auto& panel : PinManager::shared().mirrors)
        panel->setBorderColor(*color);
}

}  // namespace

void defineMirrorCommands(Scenario& scenario) {
    scenario.define("announce", 2, "announce PID on|off", announce);
    scenario.define("border-color", 1, "border-color RRGGBB|clear", borderColor);
}
