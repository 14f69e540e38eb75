#include "platform/desktop/DesktopMain.h"

#include <malloc.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/desktop/x11/X11Main.h"
#ifdef VELTRIN_HAS_WAYLAND
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandMain.h"
#endif

namespace desktop {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Every pinned window brings threads of its own (capture, display link), and each thread
// that allocates gets a heap arena of its own, up to eight per core; the picture buffers of
// megabytes freed in them stay as arena memory. A long session would hold more and more:
// two arenas, and big blocks mapped apart and returned when freed (a fixed threshold, which
// the allocator would otherwise raise to the biggest block freed), keep it flat.
void keepHeapFlat() {
    mallopt(M_ARENA_MAX, 2);
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

SessionEnvironment readSession() {
    SessionEnvironment session;
    session.display = environment("DISPLAY");
    session.waylandDisplay = environment("WAYLAND_DISPLAY");
    return session;
}

#ifdef VELTRIN_HAS_WAYLAND
// The compositor's answer decides; the connection that asked is the one the desktop uses.
std::unique_ptr<WaylandContext> probeWayland(SessionEnvironment& session) {
    session.waylandDesktopBuilt = true;
    if (session.waylandDisplay.empty()) return nullptr;
    auto context = WaylandContext::open(session.waylandDisplay);
    session.waylandMissing =
        context != nullptr ? context->connection().missing() : "a connection that answers";
    return context;
}
#endif

}  // namespace
}  // namespace desktop

int runDesktop(int argc, char** argv, std::optional<desktop::DesktopKind> forced) {
    using namespace desktop;
    keepHeapFlat();
    SessionEnvironment session = readSession();
#ifdef VELTRIN_HAS_WAYLAND
    auto connection = probeWayland(session);
    const DesktopChoice choice = chooseDesktop(session, forced);
    if (choice.kind == DesktopKind::wayland)
        return runWaylandDesktop(argc, argv, choice.logLine, std::move(connection));
    connection.reset();
#else
    const DesktopChoice choice = chooseDesktop(session, forced);
    if (choice.kind == DesktopKind::wayland) {
        std::cerr << "veltrin: this build has no Wayland desktop (try --desktop x11)\n";
        return 2;
    }
#endif
    return runX11Desktop(argc, argv, choice.logLine);
}
