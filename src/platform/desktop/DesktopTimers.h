#pragma once

#include <memory>
#include <set>

#include "platform/Timers.h"

namespace desktop {

class DesktopTimer;

// Timers of the toolkit's event loop; like a run loop, this keeps each until it is
// invalidated (a one-shot timer invalidates itself after firing).
class DesktopTimers : public platform::Timers {
public:
    ~DesktopTimers() override;
    std::shared_ptr<platform::Timer> scheduledTimer(double interval, bool repeats,
                                                    Block block) override;
    void release(DesktopTimer* timer);

private:
    std::set<std::shared_ptr<DesktopTimer>> running_;
};

}  // namespace desktop
