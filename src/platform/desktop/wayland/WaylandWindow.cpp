#include "platform/desktop/wayland/WaylandWindow.h"

namespace desktop {

std::string WaylandWindow::name() const {
    const size_t dot = appId.rfind('.');
    if (dot == std::string::npos || dot + 1 == appId.size()) return appId;
    return appId.substr(dot + 1);
}

}  // namespace desktop
