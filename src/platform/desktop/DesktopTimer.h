#pragma once

#include <memory>

#include "platform/Timers.h"

class QTimer;

namespace desktop {

class DesktopTimers;

class DesktopTimer : public platform::Timer, public std::enable_shared_from_this<DesktopTimer> {
public:
    DesktopTimer(DesktopTimers& owner, double interval, bool repeats,
                 platform::Timers::Block block);
    ~DesktopTimer() override;

    void start();
    double timeInterval() const override { return interval_; }
    bool isValid() const override { return valid_; }
    void invalidate() override;

private:
    void fire();

    DesktopTimers& owner_;
    const double interval_;
    const bool repeats_;
    platform::Timers::Block block_;
    std::unique_ptr<QTimer> timer_;
    bool valid_ = true;
};

}  // namespace desktop
