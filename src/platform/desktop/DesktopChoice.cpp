#include "platform/desktop/DesktopChoice.h"

namespace desktop {
namespace {

std::string x11Line(const SessionEnvironment& session, std::string_view why) {
    std::string line = "desktop: X11 on display \"" + session.display + "\"";
    if (!session.waylandDisplay.empty()) line += " through XWayland";
    if (!why.empty()) line += " (" + std::string(why) + ")";
    return line;
}

std::string waylandLine(const SessionEnvironment& session, std::string_view why) {
    std::string line = "desktop: Wayland on \"" + session.waylandDisplay + "\"";
    if (!why.empty()) line += " (" + std::string(why) + ")";
    return line;
}

}  // namespace

std::optional<DesktopKind> desktopKindNamed(std::string_view name) {
    if (name == "x11") return DesktopKind::x11;
    if (name == "wayland") return DesktopKind::wayland;
    return std::nullopt;
}

DesktopChoice chooseDesktop(const SessionEnvironment& session, std::optional<DesktopKind> forced) {
    if (forced == DesktopKind::x11) return {DesktopKind::x11, x11Line(session, "forced")};
    if (forced == DesktopKind::wayland) {
        if (session.waylandMissing.empty())
            return {DesktopKind::wayland, waylandLine(session, "forced")};
        return {DesktopKind::wayland,
                waylandLine(session, "forced; the compositor lacks " + session.waylandMissing)};
    }
    if (session.waylandDisplay.empty()) return {DesktopKind::x11, x11Line(session, "")};
    if (!session.waylandDesktopBuilt)
        return {DesktopKind::x11, x11Line(session, "this build has no Wayland desktop")};
    if (!session.waylandMissing.empty()) {
        const std::string why = "the compositor lacks " + session.waylandMissing;
        // Without XWayland the Wayland desktop still gives the tray and says what fails.
        if (session.display.empty()) return {DesktopKind::wayland, waylandLine(session, why)};
        return {DesktopKind::x11, x11Line(session, why)};
    }
    return {DesktopKind::wayland, waylandLine(session, "")};
}

}  // namespace desktop
