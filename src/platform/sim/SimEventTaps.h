#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/EventTaps.h"

namespace sim {

class SimDesktop;

// Mouse event taps. A press or release made through the control surface reaches every
// tap that is valid, enabled, interested and whose source is on the main run loop, in
// the order the taps were created, each getting what the one before passed on.
class SimEventTaps : public platform::EventTaps {
public:
    struct Delivery {
        platform::TapEvent event;
        int tapsReached = 0;
        bool passedUnchanged = true;  // false when a tap changed or dropped it
    };

    explicit SimEventTaps(SimDesktop& desktop) : desktop_(desktop) {}

    std::shared_ptr<platform::EventTapPort> create(int location, int placement, int options,
                                                   uint64_t eventsOfInterest, Callback callback,
                                                   void* userInfo) override;
    void enable(platform::EventTapPort& tap, bool enable) override;
    std::shared_ptr<platform::EventTapSource> createRunLoopSource(platform::EventTapPort& tap,
                                                                  int order) override;
    void addToMainRunLoop(const std::shared_ptr<platform::EventTapSource>& source) override;
    void removeFromMainRunLoop(const std::shared_ptr<platform::EventTapSource>& source) override;
    void invalidate(platform::EventTapPort& tap) override;

    // --- control (main thread) -------------------------------------------------------
    // The pointer position is in global display coordinates (top left, y downwards).
    Delivery mousePress(platform::Point location);
    Delivery mouseRelease(platform::Point location);
    const std::vector<Delivery>& deliveries() const { return deliveries_; }
    int tapsCreated() const { return created_; }
    size_t sourcesOnRunLoop() const { return sources_.size(); }
    // Taps that would receive a left press now.
    int listeningTaps() const;

private:
    struct Port;
    struct Source;

    Delivery deliver(platform::TapEvent event);
    bool listens(const Port& port, uint32_t type) const;

    SimDesktop& desktop_;
    std::vector<std::weak_ptr<Port>> ports_;        // in creation order
    std::vector<std::shared_ptr<Source>> sources_;  // the run loop retains its sources
    std::vector<Delivery> deliveries_;
    int created_ = 0;
};

}  // namespace sim
