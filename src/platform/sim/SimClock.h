#pragma once

#include "platform/Clock.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

class SimClock : public platform::Clock {
public:
    explicit SimClock(const SimDesktop& desktop) : desktop_(desktop) {}
    std::chrono::system_clock::time_point now() const override { return desktop_.wallNow(); }

private:
    const SimDesktop& desktop_;
};

}  // namespace sim
