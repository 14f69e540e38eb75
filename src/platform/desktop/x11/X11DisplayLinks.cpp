#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/DisplayLink.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Monitors.h"
#include "platform/desktop/x11/X11Services.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

// A thread of its own that calls the handler at the refreshes of the primary monitor. What
// the handler polls (the managed windows' rectangles) changes only when the window model
// does, so a refresh without a change since the last call is skipped: a still desktop costs
// no wake-ups at all.
class X11DisplayLink : public platform::DisplayLink {
public:
    X11DisplayLink(double rate, X11ChangeSignal& changes)
        : period_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
              std::chrono::duration<double>(1.0 / rate))),
          changes_(changes) {}
    ~X11DisplayLink() override { stop(); }

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
    X11ChangeSignal& changes_;
    mutable std::mutex mutex_;  // guards handler_, running_ and thread_
    std::condition_variable wake_;
    OutputHandler handler_;
    bool running_ = false;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

class X11DisplayLinks : public platform::DisplayLinks {
public:
    explicit X11DisplayLinks(X11Context& context) : context_(context) {}

    std::shared_ptr<platform::DisplayLink> createWithActiveDisplays() override {
        if (rate_ == 0) rate_ = readRefreshRate(context_.main());
        return std::make_shared<X11DisplayLink>(rate_, context_.windows().changes());
    }

private:
    X11Context& context_;
    double rate_ = 0;  // main thread
};

}  // namespace

std::unique_ptr<platform::DisplayLinks> makeDisplayLinks(X11Context& context) {
    return std::make_unique<X11DisplayLinks>(context);
}

}  // namespace desktop
