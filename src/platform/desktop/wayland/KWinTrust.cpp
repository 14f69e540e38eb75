#include "platform/desktop/wayland/KWinTrust.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/desktop/DesktopProcessInfo.h"
#include "platform/desktop/wayland/WaylandConnection.h"

namespace desktop {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool onPath(const std::string& tool) {
    std::istringstream path(variable("PATH"));
    for (std::string folder; std::getline(path, folder, ':');)
        if (!folder.empty() && access((folder + "/" + tool).c_str(), X_OK) == 0) return true;
    return false;
}

// Where the user's own desktop entries live.
std::string entriesFolder() {
    const std::string data = variable("XDG_DATA_HOME");
    return (data.empty() ? variable("HOME") + "/.local/share" : data) + "/applications";
}

}  // namespace

std::string kwinTrustEntry(const std::string& program) {
    return "[Desktop Entry]\nType=Application\nName=Veltrin\nExec=" + program +
           "\nNoDisplay=true\n"
           "X-KDE-Wayland-Interfaces=org_kde_plasma_window_management,"
           "zkde_screencast_unstable_v1\n";
}

// Plasma 6 rebuilds the cache with kbuildsycoca6, Plasma 5 with kbuildsycoca5.
platform::PermissionRemedy kwinTrustRemedy(const std::string& program) {
    platform::PermissionRemedy remedy;
    remedy.kind = platform::PermissionRemedy::Kind::desktopEntry;
    remedy.program = program;
    remedy.entry = kwinTrustEntry(program);
    remedy.folder = entriesFolder();
    remedy.refresh = onPath("kbuildsycoca6") ? "kbuildsycoca6" : "kbuildsycoca5";
    return remedy;
}

platform::PermissionRemedy trustRemedy(const WaylandConnection& connection) {
    if (connection.kwin())
        return kwinTrustRemedy(DesktopProcessInfo().bundleIdentifier().value_or(""));
    auto remedy = platform::PermissionRemedy::of(platform::PermissionRemedy::Kind::otherCompositor);
    const auto add = [&](bool present, const char* interface) {
        if (!present)
            remedy.missing += (remedy.missing.empty() ? "" : ", ") + std::string(interface);
    };
    add(connection.windowManagement() != nullptr, "org_kde_plasma_window_management");
    add(connection.screencast() != nullptr, "zkde_screencast_unstable_v1");
    add(connection.layerShell() != nullptr, "zwlr_layer_shell_v1");
    return remedy;
}

}  // namespace desktop
