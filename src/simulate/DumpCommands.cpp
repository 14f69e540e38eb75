#include <sstream>

#include "app/Log.h"
#include "platform/sim/SimDesktop.h"
#include "settings/ColorHex.h"
#include "settings/Settings.h"
#include "simulate/ScenarioCommands.h"

namespace {

void dumpDefaults(Scenario& s) {
    s.out() << "defaults:\n";
    for (const auto& [key, value] : s.desktop().defaults) {
        if (auto number = std::get_if<int64_t>(&value)) {
            s.out() << "  " << key << " = int " << *number << "\n";
        } else {
            s.out() << "  " << key << " = string \"" << std::get<std::string>(value) << "\"\n";
        }
    }
}

void dumpSettings(Scenario& s) {
    std::ostringstream mods;
    mods << "0x" << std::hex << std::uppercase << Settings::modifiers();
    s.out() << "settings: borderColor=" << hexString(Settings::borderColor())
            << " keyCode=" << Settings::keyCode() << " modifiers=" << mods.str()
            << " carbon=" << Settings::carbonOf(Settings::modifiers())
            << " language=" << Settings::language() << "\n";
}

// The records that this session appended to the log, each line indented.
void dumpLog(Scenario& s) {
    std::string records;
    {
        std::lock_guard lock(s.desktop().filesMutex);
        records = s.desktop().files[logPath];
    }
    s.out() << "log:\n";
    std::istringstream lines(records);
    for (std::string line; std::getline(lines, line);)
        s.out() << "  " << line << "\n";
}

void dumpProcesses(Scenario& s) {
    s.out() << "running " << sim::SimDesktop::programBundleIdentifier << ":";
    for (const auto& app :
         s.desktop().runningApplications(sim::SimDesktop::programBundleIdentifier))
        s.out() << " " << app.processIdentifier;
    s.out() << "\n";
}

void dump(Scenario& s, const Scenario::Args& args) {
    s.desktop().runUntilIdle();
    if (args[0] == "defaults") return dumpDefaults(s);
    if (args[0] == "settings") return dumpSettings(s);
    if (args[0] == "log") return dumpLog(s);
    if (args[0] == "copies") return dumpProcesses(s);
    throw ScenarioError{"nothing to dump called \"" + args[0] + "\""};
}

}  // namespace

void defineDumpCommands(Scenario& scenario) {
    scenario.define("dump", 1, "dump defaults|settings|log|copies", dump);
    scenario.define("say", 1, "say TEXT", [](Scenario& s, const Scenario::Args& args) {
        for (size_t i = 0; i < args.size(); ++i)
            s.out() << (i ? " " : "") << args[i];
        s.out() << "\n";
    });
}
