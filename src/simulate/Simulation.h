#pragma once

#include <optional>
#include <string>

// Plays a scenario file (or the built-in one) on the simulated desktop, writing the real
// log as usual. Returns the process exit status.
int runSimulation(const std::optional<std::string>& scenarioFile);
