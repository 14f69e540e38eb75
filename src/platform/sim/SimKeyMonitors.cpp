#include "platform/sim/SimKeyMonitors.h"

#include <algorithm>

#include "platform/sim/SimDesktop.h"

namespace sim {

struct SimKeyMonitors::Monitor : platform::KeyMonitor {
    int32_t pid = 0;  // the copy that installed it
    uint64_t mask = 0;
    Handler handler;
};

std::shared_ptr<platform::KeyMonitor> SimKeyMonitors::addLocalMonitor(uint64_t mask,
                                                                      Handler handler) {
    desktop_.requireMainThread("adding a key monitor");
    if (!handler) return nullptr;
    auto monitor = std::make_shared<Monitor>();
    monitor->pid = desktop_.currentProcess().pid;
    monitor->mask = mask;
    monitor->handler = std::move(handler);
    monitors_.push_back(monitor);
    return monitor;
}

void SimKeyMonitors::removeMonitor(const std::shared_ptr<platform::KeyMonitor>& monitor) {
    desktop_.requireMainThread("removing a key monitor");
    std::erase_if(monitors_, [&monitor](const auto& installed) { return installed == monitor; });
}

void SimKeyMonitors::releaseCopy(int32_t pid) {
    std::erase_if(monitors_, [pid](const auto& monitor) { return monitor->pid == pid; });
}

bool SimKeyMonitors::isInstalled(const std::shared_ptr<Monitor>& monitor) const {
    return std::find(monitors_.begin(), monitors_.end(), monitor) != monitors_.end();
}

// A handler may remove any monitor (its own included), so each is checked again just
// before its turn; the handler is copied since removal releases it.
SimKeyMonitors::Delivery SimKeyMonitors::keyDown(uint16_t keyCode, uint64_t modifierFlags) {
    desktop_.requireMainThread("key delivery");
    Delivery delivery;
    delivery.pressed = {keyCode, modifierFlags};
    std::optional<platform::KeyEvent> passing = delivery.pressed;
    for (const auto& monitor : std::vector(monitors_)) {
        if (!isInstalled(monitor) || (monitor->mask & platform::KeyMonitors::keyDownMask) == 0)
            continue;
        const Handler handler = monitor->handler;
        passing = handler(*passing);
        if (!passing) break;
    }
    delivery.delivered = passing;
    delivery.reachedKeyWindow = passing && desktop_.ownWindows.keyWindow() != nullptr;
    deliveries_.push_back(delivery);
    return delivery;
}

}  // namespace sim
