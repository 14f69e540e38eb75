#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/CaptureStream.h"

namespace desktop {

class X11CaptureWorker;
class X11Connection;

// The one thread, with its own connection, behind every capture stream: it waits on the
// connection and a wake-up descriptor, hands each event to the streams, and delivers their
// frames when due. Streams join it as they start and leave as they stop or end; without
// streams it sleeps. The connection is opened with the first stream and again after the
// server dropped it.
class X11CaptureThread : public std::enable_shared_from_this<X11CaptureThread> {
public:
    using Completion = platform::Stream::Completion;

    explicit X11CaptureThread(std::string displayName);
    ~X11CaptureThread();
    X11CaptureThread(const X11CaptureThread&) = delete;
    X11CaptureThread& operator=(const X11CaptureThread&) = delete;

    // The worker starts on the thread, which then runs `started` there. False when no
    // thread could be made.
    bool add(std::shared_ptr<X11CaptureWorker> worker, Completion started);
    // Something for the thread to look at: a stop asked for, or replies read elsewhere.
    void wake();
    // Ends every stream without an error, and the thread with them. The owner calls it:
    // the running thread keeps the object alive.
    void shutdown();

private:
    using Clock = std::chrono::steady_clock;
    using Start = std::pair<std::shared_ptr<X11CaptureWorker>, Completion>;

    void wakeAfterRead();
    void run();
    bool takeStarts(std::vector<Start>& starts);
    void begin(std::vector<Start>& starts);
    void endStopped();
    void dispatchEvents();
    bool dispatchQueuedEvents();
    void dispatch(xcb_generic_event_t* event);
    void endAll(const std::optional<platform::PlatformError>& error);
    std::optional<Clock::duration> deliverDue(bool& delivered);
    void waitForEvents(std::optional<Clock::duration> timeout);

    const std::string displayName_;
    const int wakeFd_;
    std::mutex mutex_;  // guards starts_, quit_ and thread_
    std::vector<Start> starts_;
    bool quit_ = false;
    std::thread thread_;
    std::atomic<std::thread::id> runner_{};
    // The thread's own.
    std::shared_ptr<X11Connection> connection_;
    std::vector<std::shared_ptr<X11CaptureWorker>> running_;
    std::vector<std::shared_ptr<X11CaptureWorker>> delivering_;  // reused: no allocation a turn
};

}  // namespace desktop
