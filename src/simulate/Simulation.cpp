#include "simulate/Simulation.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/sim/SimPlatform.h"
#include "simulate/BuiltinScenario.h"
#include "simulate/ScenarioCommands.h"

namespace {

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

int runSimulation(const std::optional<std::string>& scenarioFile) {
    std::string script = builtinScenario;
    if (scenarioFile) {
        auto text = readFile(*scenarioFile);
        if (!text) {
            std::cerr << "veltrin: cannot read scenario " << *scenarioFile << "\n";
            return 2;
        }
        script = *text;
    }
    sim::SimDesktop desktop;
    desktop.passThroughFiles = true;
    platform::install(std::make_unique<sim::SimPlatform>(desktop));
    Scenario scenario(desktop, std::cout);
    defineAllCommands(scenario);
    const bool ok = scenario.run(script, std::cerr);
    platform::uninstall();
    return ok ? 0 : 1;
}
