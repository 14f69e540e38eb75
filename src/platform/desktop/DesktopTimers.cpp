#include "platform/desktop/DesktopTimers.h"

#include "platform/desktop/DesktopTimer.h"

namespace desktop {

DesktopTimers::~DesktopTimers() = default;

std::shared_ptr<platform::Timer> DesktopTimers::scheduledTimer(double interval, bool repeats,
                                                               Block block) {
    auto timer = std::make_shared<DesktopTimer>(*this, interval, repeats, std::move(block));
    running_.insert(timer);
    timer->start();
    return timer;
}

void DesktopTimers::release(DesktopTimer* timer) {
    std::erase_if(running_, [timer](const auto& held) { return held.get() == timer; });
}

}  // namespace desktop
