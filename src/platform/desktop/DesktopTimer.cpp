#include "platform/desktop/DesktopTimer.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

#include "platform/desktop/DesktopTimers.h"

namespace desktop {

DesktopTimer::DesktopTimer(DesktopTimers& owner, double interval, bool repeats,
                           platform::Timers::Block block)
    : owner_(owner),
      interval_(interval),
      repeats_(repeats),
      block_(std::move(block)),
      timer_(std::make_unique<QTimer>()) {}

DesktopTimer::~DesktopTimer() = default;

void DesktopTimer::start() {
    const double ms = std::isfinite(interval_) ? std::clamp(interval_ * 1000, 0.0, 2e9) : 2e9;
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setSingleShot(!repeats_);
    timer_->setInterval(static_cast<int>(ms));
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { fire(); });
    timer_->start();
}

void DesktopTimer::fire() {
    const auto keep = shared_from_this();  // the block may invalidate the timer
    if (!valid_) return;
    if (auto block = block_) block(*this);
    if (!repeats_) invalidate();
}

void DesktopTimer::invalidate() {
    if (!valid_) return;
    valid_ = false;
    timer_->stop();
    block_ = nullptr;
    owner_.release(this);
}

}  // namespace desktop
