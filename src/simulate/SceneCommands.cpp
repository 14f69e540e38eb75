#include "platform/sim/SimDesktop.h"
#include "simulate/ScenarioCommands.h"

namespace {

std::optional<std::string> optionalWord(const std::string& word) {
    if (word == "-") return std::nullopt;
    return word;
}

bool onOff(const std::string& word) {
    if (word == "on") return true;
    if (word == "off") return false;
    throw ScenarioError{"expected on or off, not \"" + word + "\""};
}

platform::Rect rectFrom(const Scenario::Args& args, size_t first) {
    return {scenarioCoordinate(args[first]), scenarioCoordinate(args[first + 1]),
            scenarioLength(args[first + 2]), scenarioLength(args[first + 3])};
}

void screen(Scenario& s, const Scenario::Args& args) {
    const platform::Rect frame = rectFrom(args, 0);
    platform::Rect visible = frame;
    if (args.size() >= 8) visible = rectFrom(args, 4);
    s.desktop().screens.push_back({frame, visible});
}

void app(Scenario& s, const Scenario::Args& args) {
    const int32_t pid = scenarioPid(args[0]);
    s.desktop().addApplication({pid, optionalWord(args[1]), optionalWord(args[2])});
}

void window(Scenario& s, const Scenario::Args& args) {
    const bool offscreen = args.size() > 6 && args[6] == "offscreen";
    s.desktop().addWindow(
        {scenarioWindow(args[0]), scenarioPid(args[1]), rectFrom(args, 2), !offscreen});
}

void permission(Scenario& s, const Scenario::Args& args) {
    if (args[0] == "accessibility") {
        s.desktop().accessibilityTrusted = onOff(args[1]);
    } else if (args[0] == "screen-recording") {
        s.desktop().screenCaptureAllowed = onOff(args[1]);
    } else {
        throw ScenarioError{"unknown permission \"" + args[0] + "\""};
    }
}

void setDefault(Scenario& s, const Scenario::Args& args) {
    if (args[1] == "int") {
        s.desktop().defaults[args[0]] = scenarioInteger(args[2]);
    } else if (args[1] == "string") {
        s.desktop().defaults[args[0]] = args[2];
    } else if (args[1] == "remove") {
        s.desktop().defaults.erase(args[0]);
    } else {
        throw ScenarioError{"default KEY int|string VALUE, or default KEY remove -"};
    }
}

}  // namespace

void defineSceneCommands(Scenario& scenario) {
    scenario.define("screen", 4, "screen X Y W H [VX VY VW VH]", screen);
    scenario.define("app", 3, "app PID BUNDLE-ID|- NAME|-", app);
    scenario.define("window", 6, "window NUMBER PID X Y W H [offscreen]", window);
    scenario.define("permission", 2, "permission accessibility|screen-recording on|off",
                    permission);
    scenario.define("env", 2, "env NAME VALUE", [](Scenario& s, const Scenario::Args& args) {
        s.desktop().sessionEnvironment[args[0]] = args[1];
    });
    scenario.define("default", 3, "default KEY int|string|remove VALUE", setDefault);
    scenario.define("wait", 1, "wait SECONDS", [](Scenario& s, const Scenario::Args& args) {
        s.advanceTo(s.desktop().now() + scenarioSeconds(args[0]));
    });
}
