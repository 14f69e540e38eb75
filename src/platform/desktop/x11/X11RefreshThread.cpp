#include "platform/desktop/x11/X11RefreshThread.h"

#include <algorithm>

#include "platform/desktop/ChangeSignal.h"

namespace desktop {

X11RefreshThread::X11RefreshThread(std::chrono::steady_clock::duration period,
                                   ChangeSignal& changes)
    : period_(period), changes_(changes) {}

X11RefreshThread::~X11RefreshThread() {
    std::thread thread;
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        thread = std::move(thread_);
    }
    attend();
    if (thread.joinable()) thread.join();
}

void X11RefreshThread::add(const void* key, Handler handler) {
    auto held = std::make_shared<const Handler>(std::move(handler));
    {
        std::lock_guard lock(mutex_);
        const auto found = std::find_if(entries_.begin(), entries_.end(),
                                        [&](const Entry& entry) { return entry.key == key; });
        if (found != entries_.end())
            *found = {key, std::move(held), true};
        else
            entries_.push_back({key, std::move(held), true});
        if (!thread_.joinable()) thread_ = std::thread([this] { loop(); });
    }
    attend();
}

void X11RefreshThread::remove(const void* key) {
    bool fromHandler = false;
    {
        std::lock_guard lock(mutex_);
        std::erase_if(entries_, [&](const Entry& entry) { return entry.key == key; });
        fromHandler = thread_.get_id() == std::this_thread::get_id();
    }
    if (!fromHandler) std::lock_guard wait(calling_);  // a call under way ends first
}

void X11RefreshThread::attend() {
    attention_.store(true);
    wake_.notify_all();
    changes_.wake();
}

void X11RefreshThread::loop() {
    const auto origin = std::chrono::steady_clock::now();
    uint64_t seen = changes_.count();
    while (waitForLinks() && waitForRefresh(origin)) {
        attention_.store(false);
        const uint64_t count = changes_.count();
        callDue(count != seen);
        seen = count;
        changes_.waitPast(seen, attention_);
    }
}

// False when the thread must end.
bool X11RefreshThread::waitForLinks() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return quit_ || !entries_.empty(); });
    return !quit_;
}

// Sleeps until the next refresh after now; false when the thread must end meanwhile.
bool X11RefreshThread::waitForRefresh(std::chrono::steady_clock::time_point origin) {
    const auto ticks = (std::chrono::steady_clock::now() - origin) / period_ + 1;
    std::unique_lock lock(mutex_);
    return !wake_.wait_until(lock, origin + ticks * period_, [this] { return quit_; });
}

void X11RefreshThread::callDue(bool changed) {
    std::vector<const void*> keys;
    {
        std::lock_guard lock(mutex_);
        for (const Entry& entry : entries_)
            keys.push_back(entry.key);
    }
    for (const void* key : keys) {
        std::lock_guard call(calling_);
        if (const auto handler = takeDue(key, changed)) (*handler)();
    }
}

// The handler of a link still there and due now, marked as called.
std::shared_ptr<const X11RefreshThread::Handler> X11RefreshThread::takeDue(const void* key,
                                                                           bool changed) {
    std::lock_guard lock(mutex_);
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& entry) { return entry.key == key; });
    if (found == entries_.end() || !(changed || found->fresh)) return nullptr;
    found->fresh = false;
    return found->handler;
}

}  // namespace desktop
