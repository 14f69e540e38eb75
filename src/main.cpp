#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "simulate/Simulation.h"

namespace {

int usage() {
    std::cerr << "usage: veltrin [--simulate [SCENARIO-FILE]]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--simulate") {
        if (argc > 3) return usage();
        return runSimulation(argc == 3 ? std::optional<std::string>(argv[2]) : std::nullopt);
    }
    if (argc != 1) return usage();
    // This build carries no real desktop backend yet.
    std::cout << "veltrin: no desktop backend in this build; playing the built-in simulated "
                 "session instead (see docs/simulate.md)\n";
    return runSimulation(std::nullopt);
}
