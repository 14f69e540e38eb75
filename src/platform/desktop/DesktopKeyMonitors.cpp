#include "platform/desktop/DesktopKeyMonitors.h"

#include <algorithm>

namespace desktop {

std::shared_ptr<platform::KeyMonitor> DesktopKeyMonitors::addLocalMonitor(uint64_t mask,
                                                                          Handler handler) {
    if (!handler) return nullptr;
    auto monitor = std::make_shared<Installed>();
    monitor->mask = mask;
    monitor->handler = std::move(handler);
    monitors_.push_back(monitor);
    return monitor;
}

void DesktopKeyMonitors::removeMonitor(const std::shared_ptr<platform::KeyMonitor>& monitor) {
    std::erase_if(monitors_, [&](const auto& held) { return held == monitor; });
}

std::optional<platform::KeyEvent> DesktopKeyMonitors::deliver(const platform::KeyEvent& event) {
    std::optional<platform::KeyEvent> current = event;
    for (const auto& monitor : std::vector(monitors_)) {  // a handler may remove monitors
        if ((monitor->mask & platform::KeyMonitors::keyDownMask) == 0) continue;
        current = monitor->handler(*current);
        if (!current) return std::nullopt;
    }
    return current;
}

}  // namespace desktop
