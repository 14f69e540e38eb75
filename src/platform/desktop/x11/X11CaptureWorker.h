#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/CaptureStream.h"

namespace desktop {

class X11CaptureTarget;
class X11CaptureThread;
class X11Connection;

// One capture stream as the capture thread runs it: it delivers a frame after each damage,
// at most one per minimum interval. The thread keeps it alive while it runs.
class X11CaptureWorker : public std::enable_shared_from_this<X11CaptureWorker> {
public:
    using Completion = platform::Stream::Completion;
    using Clock = std::chrono::steady_clock;

    X11CaptureWorker(std::shared_ptr<X11CaptureThread> thread, xcb_window_t window,
                     std::chrono::nanoseconds minimumInterval,
                     std::weak_ptr<platform::StreamDelegate> delegate);
    ~X11CaptureWorker();
    X11CaptureWorker(const X11CaptureWorker&) = delete;
    X11CaptureWorker& operator=(const X11CaptureWorker&) = delete;

    void setOutput(std::weak_ptr<platform::StreamOutput> output);
    // Each completion runs once, on the capture thread or a short-lived one.
    void start(Completion completion);
    void stop(Completion completion);

    // On the capture thread: sets up the window on the thread's connection.
    std::optional<platform::PlatformError> begin(std::shared_ptr<X11Connection> connection,
                                                 std::function<void()> wake);
    bool stopRequested() const;
    // One event of the connection; false when it ended the stream (the window is gone).
    bool handle(const xcb_generic_event_t& event);
    // Delivers the frame if one is due; the time until the next one is, if one waits.
    std::optional<Clock::duration> deliverIfDue(Clock::time_point now, bool& delivered);
    // Lets go of the window, then tells whoever waits (and the delegate of an error).
    void end(const std::optional<platform::PlatformError>& error);

private:
    enum class State { created, running, ended };

    void deliver();

    const std::shared_ptr<X11CaptureThread> thread_;
    const xcb_window_t window_;
    const std::chrono::nanoseconds minimumInterval_;
    const std::weak_ptr<platform::StreamDelegate> delegate_;
    mutable std::mutex mutex_;  // guards the three below, and the writes of stopRequested_
    State state_ = State::created;
    std::vector<Completion> stopCompletions_;
    std::weak_ptr<platform::StreamOutput> output_;
    std::atomic<bool> stopRequested_{false};  // read on every turn of the capture thread
    // The capture thread's own.
    std::unique_ptr<X11CaptureTarget> target_;
    bool pending_ = false;
    Clock::time_point sent_{};
};

}  // namespace desktop
