#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace desktop {

class ChangeSignal;

// The one thread behind every display link: at the refreshes of the primary monitor it
// calls the handlers of the links that are due. What they poll (the managed windows'
// rectangles) changes only when the window model does, so a link is due at the first
// refresh after it started and then at the refresh after each change: a still desktop
// costs no wake-ups, and without links the thread sleeps.
class X11RefreshThread {
public:
    using Handler = std::function<void()>;

    X11RefreshThread(std::chrono::steady_clock::duration period, ChangeSignal& changes);
    ~X11RefreshThread();
    X11RefreshThread(const X11RefreshThread&) = delete;
    X11RefreshThread& operator=(const X11RefreshThread&) = delete;

    // `key` names the link; adding it again replaces its handler and makes it due again.
    void add(const void* key, Handler handler);
    // Once it returns the handler is not running and will not run again, unless it is
    // called from a handler, which then simply goes on.
    void remove(const void* key);

private:
    struct Entry {
        const void* key;
        std::shared_ptr<const Handler> handler;
        bool fresh;
    };

    void loop();
    bool waitForLinks();
    bool waitForRefresh(std::chrono::steady_clock::time_point origin);
    void callDue(bool changed);
    std::shared_ptr<const Handler> takeDue(const void* key, bool changed);
    void attend();

    const std::chrono::steady_clock::duration period_;
    ChangeSignal& changes_;
    std::mutex mutex_;  // guards entries_, quit_ and thread_
    std::condition_variable wake_;
    std::vector<Entry> entries_;
    bool quit_ = false;
    std::thread thread_;
    // Set when a link was added or the thread must end: its wait for a change ends.
    std::atomic<bool> attention_{false};
    std::mutex calling_;  // held while a handler runs
};

}  // namespace desktop
