#include "platform/sim/SimEventTaps.h"

#include <algorithm>

#include "platform/sim/SimDesktop.h"

namespace sim {

struct SimEventTaps::Port : platform::EventTapPort {
    uint64_t mask = 0;
    Callback callback = nullptr;
    void* userInfo = nullptr;
    bool enabled = false;
    bool valid = true;
};

struct SimEventTaps::Source : platform::EventTapSource {
    std::weak_ptr<Port> port;
};

std::shared_ptr<platform::EventTapPort> SimEventTaps::create(int, int, int,
                                                             uint64_t eventsOfInterest,
                                                             Callback callback, void* userInfo) {
    desktop_.requireMainThread("event tap creation");
    if (!desktop_.accessibilityTrusted || callback == nullptr) return nullptr;
    auto port = std::make_shared<Port>();
    port->mask = eventsOfInterest;
    port->callback = callback;
    port->userInfo = userInfo;
    std::erase_if(ports_, [](const auto& weak) { return weak.expired(); });
    ports_.push_back(port);
    ++created_;
    return port;
}

void SimEventTaps::enable(platform::EventTapPort& tap, bool enable) {
    auto& port = static_cast<Port&>(tap);
    if (port.valid) port.enabled = enable;
}

std::shared_ptr<platform::EventTapSource> SimEventTaps::createRunLoopSource(
    platform::EventTapPort& tap, int) {
    auto source = std::make_shared<Source>();
    auto& port = static_cast<Port&>(tap);
    for (const auto& weak : ports_)
        if (auto known = weak.lock(); known.get() == &port) source->port = known;
    return source;
}

void SimEventTaps::addToMainRunLoop(const std::shared_ptr<platform::EventTapSource>& source) {
    desktop_.requireMainThread("adding a run-loop source");
    auto ours = std::static_pointer_cast<Source>(source);
    if (ours && std::find(sources_.begin(), sources_.end(), ours) == sources_.end())
        sources_.push_back(ours);
}

void SimEventTaps::removeFromMainRunLoop(const std::shared_ptr<platform::EventTapSource>& source) {
    desktop_.requireMainThread("removing a run-loop source");
    std::erase(sources_, std::static_pointer_cast<Source>(source));
}

// An invalidated port also leaves the run loop, as its source is invalidated with it.
void SimEventTaps::invalidate(platform::EventTapPort& tap) {
    auto& port = static_cast<Port&>(tap);
    port.valid = false;
    port.enabled = false;
    std::erase_if(sources_, [&port](const auto& source) {
        const auto owner = source->port.lock();
        return !owner || owner.get() == &port;
    });
}

bool SimEventTaps::listens(const Port& port, uint32_t type) const {
    if (!port.valid || !port.enabled || (port.mask & (uint64_t{1} << type)) == 0) return false;
    return std::any_of(sources_.begin(), sources_.end(),
                       [&port](const auto& source) { return source->port.lock().get() == &port; });
}

int SimEventTaps::listeningTaps() const {
    int count = 0;
    for (const auto& weak : ports_)
        if (auto port = weak.lock(); port && listens(*port, leftMouseDown)) ++count;
    return count;
}

SimEventTaps::Delivery SimEventTaps::mousePress(platform::Point location) {
    return deliver({leftMouseDown, location});
}

SimEventTaps::Delivery SimEventTaps::mouseRelease(platform::Point location) {
    return deliver({leftMouseUp, location});
}

// A callback may stop or release any tap, so each is checked again just before its turn.
SimEventTaps::Delivery SimEventTaps::deliver(platform::TapEvent event) {
    desktop_.requireMainThread("mouse event delivery");
    Delivery delivery;
    delivery.event = event;
    std::optional<platform::TapEvent> passing = event;
    for (const auto& weak : std::vector(ports_)) {
        const auto port = weak.lock();
        if (!port || !listens(*port, event.type)) continue;
        ++delivery.tapsReached;
        passing = port->callback(passing->type, *passing, port->userInfo);
        if (!passing) break;
    }
    delivery.passedUnchanged = passing && *passing == event;
    deliveries_.push_back(delivery);
    return delivery;
}

}  // namespace sim
