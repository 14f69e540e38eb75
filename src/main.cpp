#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "app/ShellCommand.h"
#include "simulate/Simulation.h"
#ifdef VELTRIN_HAS_DESKTOP
#include "platform/desktop/DesktopCommandClient.h"
#include "platform/desktop/DesktopMain.h"
#endif

namespace {

int usage() {
    std::cerr << "usage: veltrin [--desktop x11|wayland]\n"
                 "       veltrin --toggle | --unpin-all | --quit\n"
                 "       veltrin --simulate [SCENARIO-FILE]\n";
    return 2;
}

#ifdef VELTRIN_HAS_DESKTOP
int runOnDesktop(int argc, char** argv) {
    std::optional<desktop::DesktopKind> forced;
    if (argc == 3 && std::string(argv[1]) == "--desktop") {
        forced = desktop::desktopKindNamed(argv[2]);
        if (!forced) {
            std::cerr << "veltrin: unknown desktop \"" << argv[2] << "\" (x11 or wayland)\n";
            return 2;
        }
        argc = 1;  // the toolkit sees no option of ours
    } else if (argc != 1) {
        return usage();
    }
    return runDesktop(argc, argv, forced);
}
#endif

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--simulate") {
        if (argc > 3) return usage();
        return runSimulation(argc == 3 ? std::optional<std::string>(argv[2]) : std::nullopt);
    }
    if (argc >= 2 && shellCommandNamed(argv[1])) {
        if (argc != 2) return usage();
#ifdef VELTRIN_HAS_DESKTOP
        int toolkitArgc = 1;  // the toolkit sees no option of ours
        return desktop::DesktopCommandClient().send(toolkitArgc, argv, *shellCommandNamed(argv[1]));
#else
        std::cerr << "veltrin: this build has no desktop backend to send " << argv[1] << " to\n";
        return 2;
#endif
    }
#ifdef VELTRIN_HAS_DESKTOP
    return runOnDesktop(argc, argv);
#else
    if (argc != 1) return usage();
    std::cerr << "veltrin: this build has no desktop backend; try --simulate\n";
    return 2;
#endif
}
