#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "simulate/Simulation.h"
#ifdef VELTRIN_HAS_DESKTOP
#include "platform/desktop/DesktopMain.h"
#endif

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
#ifdef VELTRIN_HAS_DESKTOP
    return runDesktop(argc, argv);
#else
    std::cerr << "veltrin: this build has no desktop backend; try --simulate\n";
    return 2;
#endif
}
