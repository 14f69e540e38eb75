#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/CaptureStream.h"

namespace desktop {

class X11CaptureTarget;
class X11Connection;

// The thread behind one capture stream, with its own connection: it waits on the X
// connection and a wake-up descriptor, and delivers a frame after each damage, at most
// one per minimum interval. It keeps itself alive while it runs.
class X11CaptureWorker : public std::enable_shared_from_this<X11CaptureWorker> {
public:
    using Completion = platform::Stream::Completion;

    X11CaptureWorker(std::string displayName, xcb_window_t window,
                     std::chrono::nanoseconds minimumInterval,
                     std::weak_ptr<platform::StreamDelegate> delegate);
    ~X11CaptureWorker();
    X11CaptureWorker(const X11CaptureWorker&) = delete;
    X11CaptureWorker& operator=(const X11CaptureWorker&) = delete;

    void setOutput(std::weak_ptr<platform::StreamOutput> output);
    // Each completion runs once, on the worker's thread or a short-lived one.
    void start(Completion completion);
    void stop(Completion completion);

private:
    enum class State { created, running, ended };

    void run(const Completion& started);
    std::optional<platform::PlatformError> loop(X11Connection& connection,
                                                X11CaptureTarget& target);
    void deliver(X11Connection& connection, X11CaptureTarget& target,
                 std::chrono::steady_clock::time_point& sent);
    bool stopRequested() const;
    void waitForEvents(xcb_connection_t* c, std::optional<std::chrono::nanoseconds> timeout);
    void finish(const std::optional<platform::PlatformError>& error);
    void wake();

    const std::string displayName_;
    const xcb_window_t window_;
    const std::chrono::nanoseconds minimumInterval_;
    const std::weak_ptr<platform::StreamDelegate> delegate_;
    const int wakeFd_;
    mutable std::mutex mutex_;  // guards everything below
    State state_ = State::created;
    bool stopRequested_ = false;
    std::vector<Completion> stopCompletions_;
    std::weak_ptr<platform::StreamOutput> output_;
};

}  // namespace desktop
