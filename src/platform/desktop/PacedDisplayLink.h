#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/DisplayLink.h"
#include "platform/desktop/ChangeSignal.h"

namespace desktop {

// A thread of its own that calls the handler at the refreshes of the primary monitor. What
// the handler polls (other windows' rectangles) changes only when the session's window
// model does, so a refresh without a change since the last call is skipped: a still desktop costs
// no wake-ups at all.
class PacedDisplayLink : public platform::DisplayLink {
public:
    PacedDisplayLink(double rate, ChangeSignal& changes)
        : period_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
              std::chrono::duration<double>(1.0 / rate))),
          changes_(changes) {}
    ~PacedDisplayLink() override { stop(); }

    int32_t setOutputHandler(OutputHandler handler) override {
        std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
        return 0;
    }

    int32_t start() override {
        std::lock_guard lock(mutex_);
        if (running_) return 0;
        if (thread_.joinable()) thread_.join();  // stopped from its own handler earlier
        running_ = true;
        stopping_.store(false);
        thread_ = std::thread([this] { loop(); });
        return 0;
    }

    int32_t stop() override {
        std::thread thread;
        {
            std::lock_guard lock(mutex_);
            running_ = false;
            stopping_.store(true);
            if (thread_.get_id() == std::this_thread::get_id()) return 0;  // from the handler
            thread = std::move(thread_);
        }
        wake_.notify_all();
        changes_.wake();
        if (thread.joinable()) thread.join();
        return 0;
    }

    bool isRunning() const override {
        std::lock_guard lock(mutex_);
        return running_;
    }

private:
    // One call at the first refresh, then one at the refresh after each change.
    void loop() {
        const auto origin = std::chrono::steady_clock::now();
        uint64_t seen = changes_.count();
        while (waitForRefresh(origin)) {
            if (!callHandler()) return;
            changes_.waitPast(seen, stopping_);
            seen = changes_.count();
        }
    }

    // Sleeps until the next refresh after now; false when stopped meanwhile.
    bool waitForRefresh(std::chrono::steady_clock::time_point origin) {
        const auto now = std::chrono::steady_clock::now();
        const auto ticks = (now - origin) / period_ + 1;
        std::unique_lock lock(mutex_);
        return !wake_.wait_until(lock, origin + ticks * period_, [this] { return !running_; });
    }

    bool callHandler() {
        OutputHandler handler;
        {
            std::lock_guard lock(mutex_);
            if (!running_) return false;
            handler = handler_;
        }
        if (handler) handler();
        return true;
    }

    const std::chrono::steady_clock::duration period_;
    ChangeSignal& changes_;
    mutable std::mutex mutex_;  // guards handler_, running_ and thread_
    std::condition_variable wake_;
    OutputHandler handler_;
    bool running_ = false;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace desktop
