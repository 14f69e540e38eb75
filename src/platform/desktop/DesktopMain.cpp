#include "platform/desktop/DesktopMain.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/desktop/x11/X11Main.h"

namespace desktop {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

SessionEnvironment readSession() {
    SessionEnvironment session;
    session.display = environment("DISPLAY");
    session.waylandDisplay = environment("WAYLAND_DISPLAY");
    return session;
}

}  // namespace
}  // namespace desktop

int runDesktop(int argc, char** argv, std::optional<desktop::DesktopKind> forced) {
    using namespace desktop;
    const SessionEnvironment session = readSession();
    const DesktopChoice choice = chooseDesktop(session, forced);
    if (choice.kind == DesktopKind::wayland) {
        std::cerr << "veltrin: this build has no Wayland desktop (try --desktop x11)\n";
        return 2;
    }
    return runX11Desktop(argc, argv, choice.logLine);
}
