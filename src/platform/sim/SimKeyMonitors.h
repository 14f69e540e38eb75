#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/KeyMonitors.h"

namespace sim {

class SimDesktop;

// Local key monitors. A key press made through the control surface walks the monitors in
// install order; what none of them swallowed is delivered to the program's key window.
class SimKeyMonitors : public platform::KeyMonitors {
public:
    struct Delivery {
        platform::KeyEvent pressed;
        std::optional<platform::KeyEvent> delivered;  // what reached the application
        bool reachedKeyWindow = false;                // a control of a key window got it
    };

    explicit SimKeyMonitors(SimDesktop& desktop) : desktop_(desktop) {}

    std::shared_ptr<platform::KeyMonitor> addLocalMonitor(uint64_t mask, Handler handler) override;
    void removeMonitor(const std::shared_ptr<platform::KeyMonitor>& monitor) override;

    // --- control (main thread) -------------------------------------------------------
    Delivery keyDown(uint16_t keyCode, uint64_t modifierFlags);
    const std::vector<Delivery>& deliveries() const { return deliveries_; }
    size_t installed() const { return monitors_.size(); }
    // A copy ended: its monitors are gone.
    void releaseCopy(int32_t pid);

private:
    struct Monitor;

    bool isInstalled(const std::shared_ptr<Monitor>& monitor) const;

    SimDesktop& desktop_;
    std::vector<std::shared_ptr<Monitor>> monitors_;  // in install order
    std::vector<Delivery> deliveries_;
};

}  // namespace sim
