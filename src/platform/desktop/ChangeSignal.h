#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace desktop {

// Counts changes that other threads may wait for: a poller sleeps until something it
// polls can have changed instead of waking for nothing.
class ChangeSignal {
public:
    void notify();
    uint64_t count() const;
    // Returns once the count has passed `seen`, or once `stop` is set and wake() was called.
    void waitPast(uint64_t seen, const std::atomic<bool>& stop);
    void wake();

private:
    mutable std::mutex mutex_;  // guards count_
    std::condition_variable changed_;
    uint64_t count_ = 0;
};

}  // namespace desktop
