#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/DisplayLink.h"
#include "platform/desktop/X11Context.h"
#include "platform/desktop/X11Monitors.h"
#include "platform/desktop/X11Services.h"

namespace desktop {
namespace {

// A thread of its own that calls the handler once per refresh of the primary monitor.
class X11DisplayLink : public platform::DisplayLink {
public:
    explicit X11DisplayLink(double rate)
        : period_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
              std::chrono::duration<double>(1.0 / rate))) {}
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
        thread_ = std::thread([this] { loop(); });
        return 0;
    }

    int32_t stop() override {
        std::thread thread;
        {
            std::lock_guard lock(mutex_);
            running_ = false;
            if (thread_.get_id() == std::this_thread::get_id()) return 0;  // from the handler
            thread = std::move(thread_);
        }
        wake_.notify_all();
        if (thread.joinable()) thread.join();
        return 0;
    }

    bool isRunning() const override {
        std::lock_guard lock(mutex_);
        return running_;
    }

private:
    void loop() {
        auto next = std::chrono::steady_clock::now() + period_;
        std::unique_lock lock(mutex_);
        while (running_) {
            if (wake_.wait_until(lock, next, [this] { return !running_; })) break;
            const OutputHandler handler = handler_;
            lock.unlock();
            if (handler) handler();
            lock.lock();
            next += period_;
            const auto now = std::chrono::steady_clock::now();
            if (next < now) next = now + period_;  // late: skip the missed refreshes
        }
    }

    const std::chrono::steady_clock::duration period_;
    mutable std::mutex mutex_;  // guards handler_, running_ and thread_
    std::condition_variable wake_;
    OutputHandler handler_;
    bool running_ = false;
    std::thread thread_;
};

class X11DisplayLinks : public platform::DisplayLinks {
public:
    explicit X11DisplayLinks(X11Context& context) : context_(context) {}

    std::shared_ptr<platform::DisplayLink> createWithActiveDisplays() override {
        if (rate_ == 0) rate_ = readRefreshRate(context_.main());
        return std::make_shared<X11DisplayLink>(rate_);
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
