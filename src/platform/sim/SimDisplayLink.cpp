#include "platform/sim/SimDisplayLink.h"

namespace sim {

SimDisplayLink::SimDisplayLink() : state_(std::make_shared<State>()) {}

SimDisplayLink::~SimDisplayLink() {
    stop();
    if (!thread_.joinable()) return;
    if (onOwnThread()) {
        thread_.detach();  // the handler dropped the last reference; the thread ends alone
    } else {
        thread_.join();
    }
}

bool SimDisplayLink::onOwnThread() const {
    std::lock_guard lock(state_->mutex);
    return state_->thread == std::this_thread::get_id();
}

void SimDisplayLink::joinThread() {
    if (thread_.joinable() && !onOwnThread()) thread_.join();
}

int32_t SimDisplayLink::setOutputHandler(OutputHandler handler) {
    std::lock_guard lock(state_->mutex);
    state_->handler = std::move(handler);
    return 0;
}

int32_t SimDisplayLink::start() {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->running) return 0;
    }
    joinThread();  // a thread told to end by an earlier stop()
    {
        std::lock_guard lock(state_->mutex);
        state_->running = true;
        state_->stopping = false;
    }
    thread_ = std::thread(loop, state_);
    return 0;
}

int32_t SimDisplayLink::stop() {
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->running) return 0;
        state_->running = false;
        state_->stopping = true;
    }
    state_->changed.notify_all();
    joinThread();  // from the handler itself the thread ends after it returns
    return 0;
}

bool SimDisplayLink::isRunning() const {
    std::lock_guard lock(state_->mutex);
    return state_->running;
}

std::optional<uint64_t> SimDisplayLink::requestRefresh() {
    std::lock_guard lock(state_->mutex);
    if (!state_->running) return std::nullopt;
    const uint64_t ticket = ++state_->requested;
    state_->changed.notify_all();
    return ticket;
}

void SimDisplayLink::waitRefresh(uint64_t ticket) {
    std::unique_lock lock(state_->mutex);
    state_->changed.wait(lock, [&] { return state_->done >= ticket; });
}

void SimDisplayLink::loop(const std::shared_ptr<State>& state) {
    std::unique_lock lock(state->mutex);
    state->thread = std::this_thread::get_id();
    for (;;) {
        state->changed.wait(lock,
                            [&] { return state->stopping || state->requested > state->done; });
        if (state->stopping) break;
        const OutputHandler handler = state->handler;
        lock.unlock();
        if (handler) handler();
        lock.lock();
        ++state->done;
        state->changed.notify_all();
    }
    state->done = state->requested;  // refreshes still asked for are dropped
    state->thread = {};
    state->changed.notify_all();
}

}  // namespace sim
