#include "platform/sim/SimTimers.h"

#include <algorithm>

#include "platform/sim/SimDesktop.h"

namespace sim {
namespace {

// As on the desktop, a non-positive interval means the shortest one (0.1 ms), so a
// repeating timer can never fire endlessly at one instant.
constexpr double shortestInterval = 0.0001;

}  // namespace

SimTimer::SimTimer(double interval, bool repeats, platform::Timers::Block block)
    : interval_(interval > 0 ? interval : shortestInterval),
      repeats_(repeats),
      block_(std::move(block)) {}

void SimTimer::invalidate() {
    valid_ = false;
    block_ = nullptr;  // let go of what the block holds, as the run loop does
}

void SimTimer::schedule(SimDesktop& desktop) {
    desktop.postMain(interval_, [self = shared_from_this(), &desktop] { self->fire(desktop); });
}

void SimTimer::fire(SimDesktop& desktop) {
    if (!valid_) return;
    const platform::Timers::Block block = block_;  // the block may invalidate the timer
    if (block) block(*this);
    if (!repeats_) invalidate();
    if (valid_) schedule(desktop);
}

std::shared_ptr<platform::Timer> SimTimers::scheduledTimer(double interval, bool repeats,
                                                           Block block) {
    auto timer = std::make_shared<SimTimer>(interval, repeats, std::move(block));
    timer->schedule(desktop_);
    std::erase_if(timers_, [](const auto& weak) { return weak.expired(); });
    timers_.push_back(timer);
    return timer;
}

size_t SimTimers::validTimers() const {
    size_t valid = 0;
    for (const auto& weak : timers_)
        if (const auto timer = weak.lock(); timer && timer->isValid()) ++valid;
    return valid;
}

}  // namespace sim
