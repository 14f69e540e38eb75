#pragma once

#include <functional>
#include <memory>

namespace platform {

// A timer on the main run loop; the run loop keeps it until it is invalidated.
class Timer {
public:
    virtual ~Timer() = default;
    virtual double timeInterval() const = 0;
    virtual bool isValid() const = 0;
    // Stops the timer for good and releases its block. Main thread only.
    virtual void invalidate() = 0;
};

class Timers {
public:
    using Block = std::function<void(Timer& timer)>;

    virtual ~Timers() = default;
    // Runs the block on the main thread `interval` seconds from now, and then every
    // `interval` seconds while `repeats`, until the timer is invalidated.
    virtual std::shared_ptr<Timer> scheduledTimer(double interval, bool repeats, Block block) = 0;
};

}  // namespace platform
