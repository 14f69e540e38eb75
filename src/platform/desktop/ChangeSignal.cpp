#include "platform/desktop/ChangeSignal.h"

namespace desktop {

void ChangeSignal::notify() {
    {
        std::lock_guard lock(mutex_);
        ++count_;
    }
    changed_.notify_all();
}

uint64_t ChangeSignal::count() const {
    std::lock_guard lock(mutex_);
    return count_;
}

void ChangeSignal::waitPast(uint64_t seen, const std::atomic<bool>& stop) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return count_ != seen || stop.load(); });
}

void ChangeSignal::wake() {
    { std::lock_guard lock(mutex_); }  // a waiter is either asleep or sees the stop flag
    changed_.notify_all();
}

}  // namespace desktop
