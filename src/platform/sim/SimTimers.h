#pragma once

#include <memory>
#include <vector>

#include "platform/Timers.h"

namespace sim {

class SimDesktop;

// A timer driven by the desktop's manual clock: each firing posts the next to the main
// queue, and the posted work keeps the timer alive the way a run loop does.
class SimTimer : public platform::Timer, public std::enable_shared_from_this<SimTimer> {
public:
    SimTimer(double interval, bool repeats, platform::Timers::Block block);

    double timeInterval() const override { return interval_; }
    bool isValid() const override { return valid_; }
    void invalidate() override;

    void schedule(SimDesktop& desktop);

private:
    void fire(SimDesktop& desktop);

    double interval_;
    bool repeats_;
    platform::Timers::Block block_;
    bool valid_ = true;
};

class SimTimers : public platform::Timers {
public:
    explicit SimTimers(SimDesktop& desktop) : desktop_(desktop) {}
    std::shared_ptr<platform::Timer> scheduledTimer(double interval, bool repeats,
                                                    Block block) override;

    // --- control ---------------------------------------------------------------------
    // Timers that will still fire.
    size_t validTimers() const;

private:
    SimDesktop& desktop_;
    std::vector<std::weak_ptr<SimTimer>> timers_;  // as made, the expired ones dropped
};

}  // namespace sim
