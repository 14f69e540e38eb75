#include "platform/desktop/PacedDisplayLink.h"

namespace desktop {

PacedDisplayLink::~PacedDisplayLink() {
    stop();
}

int32_t PacedDisplayLink::setOutputHandler(OutputHandler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
    return 0;
}

int32_t PacedDisplayLink::start() {
    std::lock_guard lock(mutex_);
    if (running_) return 0;
    if (thread_.joinable()) thread_.join();  // stopped from its own handler earlier
    running_ = true;
    stopping_.store(false);
    thread_ = std::thread([this] { loop(); });
    return 0;
}

int32_t PacedDisplayLink::stop() {
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

bool PacedDisplayLink::isRunning() const {
    std::lock_guard lock(mutex_);
    return running_;
}

void PacedDisplayLink::loop() {
    const auto origin = std::chrono::steady_clock::now();
    uint64_t seen = changes_.count();
    while (waitForRefresh(origin)) {
        if (!callHandler()) return;
        changes_.waitPast(seen, stopping_);
        seen = changes_.count();
    }
}

bool PacedDisplayLink::waitForRefresh(std::chrono::steady_clock::time_point origin) {
    const auto now = std::chrono::steady_clock::now();
    const auto ticks = (now - origin) / period_ + 1;
    std::unique_lock lock(mutex_);
    return !wake_.wait_until(lock, origin + ticks * period_, [this] { return !running_; });
}

bool PacedDisplayLink::callHandler() {
    OutputHandler handler;
    {
        std::lock_guard lock(mutex_);
        if (!running_) return false;
        handler = handler_;
    }
    if (handler) handler();
    return true;
}

}  // namespace desktop
