#pragma once

#include <memory>
#include <vector>

#include "platform/KeyMonitors.h"

namespace desktop {

// Local key monitors, in install order; the program's own windows hand their key presses
// to deliver() before acting on them.
class DesktopKeyMonitors : public platform::KeyMonitors {
public:
    std::shared_ptr<platform::KeyMonitor> addLocalMonitor(uint64_t mask, Handler handler) override;
    void removeMonitor(const std::shared_ptr<platform::KeyMonitor>& monitor) override;
    // The event to act on, or nothing when a monitor swallowed it.
    std::optional<platform::KeyEvent> deliver(const platform::KeyEvent& event);

private:
    struct Installed : platform::KeyMonitor {
        uint64_t mask = 0;
        Handler handler;
    };
    std::vector<std::shared_ptr<Installed>> monitors_;
};

}  // namespace desktop
