#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace desktop {

enum class DesktopKind { x11, wayland };

// What the session around the program offers, as read at start.
struct SessionEnvironment {
    std::string display;         // DISPLAY: an X server, native or XWayland
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    bool waylandDesktopBuilt = false;
    // Empty when the compositor offers all the Wayland desktop needs; else what is missing.
    std::string waylandMissing;
};

struct DesktopChoice {
    DesktopKind kind = DesktopKind::x11;
    std::string logLine;  // the one line that names the desktop, written once it runs
};

// "x11" or "wayland", from --desktop; nothing for any other text.
std::optional<DesktopKind> desktopKindNamed(std::string_view name);

// A Wayland session whose compositor offers what is needed gets the Wayland desktop; any other
// session gets X11 (through XWayland where that is all there is), except a Wayland session
// without any X display, which keeps the Wayland desktop and names what its compositor lacks.
// A forced kind always wins.
DesktopChoice chooseDesktop(const SessionEnvironment& session, std::optional<DesktopKind> forced);

}  // namespace desktop
