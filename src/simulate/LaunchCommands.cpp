#include "app/Entry.h"
#include "platform/sim/SimDesktop.h"
#include "simulate/ScenarioCommands.h"

namespace {

int32_t pidArg(const Scenario::Args& args, size_t index, int32_t fallback) {
    if (args.size() <= index) return fallback;
    return static_cast<int32_t>(scenarioInteger(args[index]));
}

void launch(Scenario& s, const Scenario::Args& args) {
    const int32_t pid = pidArg(args, 0, 4242);
    if (s.desktop().findProcess(pid) != nullptr) throw ScenarioError{"pid already in use"};
    s.desktop().startProgramCopy(pid);
    runApplication();
}

void quit(Scenario& s, const Scenario::Args& args) {
    const int32_t pid = pidArg(args, 0, 0);
    if (s.desktop().findApp(pid) == nullptr)
        throw ScenarioError{"no running application " + args[0]};
    s.desktop().quitApplication(pid);
}

void focus(Scenario& s, const Scenario::Args& args) {
    if (args[0] == "none") return s.desktop().setFrontmost(std::nullopt);
    const int32_t pid = pidArg(args, 0, 0);
    if (s.desktop().findApp(pid) == nullptr)
        throw ScenarioError{"no running application " + args[0]};
    s.desktop().setFrontmost(pid);
}

}  // namespace

void defineLaunchCommands(Scenario& scenario) {
    scenario.define("launch", 0, "launch [PID]", launch);
    scenario.define("quit", 1, "quit PID", quit);
    scenario.define("focus", 1, "focus PID|none", focus);
}
