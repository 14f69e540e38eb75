#include "app/Entry.h"
#include "hotkey/HotkeyManagerReset.h"
#include "pinning/PinManager.h"
#include "platform/sim/SimDesktop.h"
#include "simulate/ScenarioCommands.h"

namespace {

// The copies share this process, so the end of the last running one drops what its own
// process would have taken with it: its pinned panels, its shortcut, its screen. A copy that
// ends at launch because another runs leaves that one's state alone.
void forgetEndedCopy(sim::SimDesktop& desktop) {
    if (desktop.firstRunningCopy()) return;
    PinManager::shared().unpinAll();
    HotkeyManagerReset::toFreshInstance();
    MirrorPanel::forgetScreenFrame();
}

void launch(Scenario& s, const Scenario::Args& args) {
    const int32_t pid = args.empty() ? scenarioArgs::defaultCopy : scenarioPid(args[0]);
    if (s.desktop().findProcess(pid) != nullptr) throw ScenarioError{"pid already in use"};
    s.desktop().startProgramCopy(pid);
    runApplication();
}

// A copy of the program ends only through its own Quit: ended from outside, its panels
// and its hot key would outlive it.
void quit(Scenario& s, const Scenario::Args& args) {
    const int32_t pid = scenarioPid(args[0]);
    if (s.desktop().findApp(pid) == nullptr)
        throw ScenarioError{"no running application " + args[0]};
    if (s.desktop().findProcess(pid) != nullptr)
        throw ScenarioError{"pid " + args[0] +
                            " is a copy of the program: it quits from its menu or settings window"};
    s.desktop().quitApplication(pid);
}

void focus(Scenario& s, const Scenario::Args& args) {
    if (args[0] == "none") return s.desktop().setFrontmost(std::nullopt);
    const int32_t pid = scenarioPid(args[0]);
    if (s.desktop().findApp(pid) == nullptr)
        throw ScenarioError{"no running application " + args[0]};
    s.desktop().setFrontmost(pid);
}

}  // namespace

void defineLaunchCommands(Scenario& scenario) {
    sim::SimDesktop& desktop = scenario.desktop();
    desktop.onCopyEnded = [&desktop](int32_t) { forgetEndedCopy(desktop); };
    scenario.define("launch", 0, "launch [PID]", launch);
    scenario.define("quit", 1, "quit PID", quit);
    scenario.define("focus", 1, "focus PID|none", focus);
}
