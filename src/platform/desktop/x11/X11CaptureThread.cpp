#include "platform/desktop/x11/X11CaptureThread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "platform/desktop/x11/X11CaptureTarget.h"
#include "platform/desktop/x11/X11CaptureWorker.h"
#include "platform/desktop/x11/X11Connection.h"

namespace desktop {
namespace {

timespec toTimespec(std::chrono::steady_clock::duration duration) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    const auto rest = std::chrono::duration_cast<std::chrono::nanoseconds>(duration - seconds);
    return {static_cast<time_t>(seconds.count()), static_cast<long>(rest.count())};
}

}  // namespace

X11CaptureThread::X11CaptureThread(std::string displayName)
    : displayName_(std::move(displayName)), wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

// The running thread holds the object, so this runs once it has ended (or never ran).
X11CaptureThread::~X11CaptureThread() {
    if (wakeFd_ >= 0) close(wakeFd_);
}

bool X11CaptureThread::add(std::shared_ptr<X11CaptureWorker> worker, Completion started) {
    {
        std::lock_guard lock(mutex_);
        if (quit_ || wakeFd_ < 0) return false;
        if (!thread_.joinable()) {
            try {
                thread_ = std::thread([self = shared_from_this()] { self->run(); });
            } catch (const std::system_error&) {
                return false;
            }
        }
        starts_.emplace_back(std::move(worker), std::move(started));
    }
    wake();
    return true;
}

void X11CaptureThread::wake() {
    if (wakeFd_ < 0) return;
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wakeFd_, &one, sizeof one);
}

// Replies read on the thread itself: it polls for events again before it waits, since
// every such read happens while it begins a stream, handles an event or delivers a frame.
void X11CaptureThread::wakeAfterRead() {
    if (runner_.load() != std::this_thread::get_id()) wake();
}

void X11CaptureThread::shutdown() {
    std::thread thread;
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        thread = std::move(thread_);
    }
    wake();
    if (!thread.joinable()) return;
    if (thread.get_id() == std::this_thread::get_id())
        thread.detach();  // from a stream's callback: the loop ends as this call returns
    else
        thread.join();
}

void X11CaptureThread::run() {
    runner_.store(std::this_thread::get_id());
    std::vector<Start> starts;
    while (takeStarts(starts)) {
        begin(starts);
        endStopped();
        if (connection_ == nullptr) {
            waitForEvents(std::nullopt);
            continue;
        }
        dispatchEvents();
        if (connection_->broken()) {
            endAll(captureError(CaptureError::connectionLost,
                                "capture: lost the connection to the X server"));
            continue;
        }
        bool delivered = false;
        const auto timeout = deliverDue(delivered);
        // What the delivery's reads and flush took off the socket is in xcb's queue, where
        // the wait would not see it; what is still on the socket ends the wait at once.
        if (!delivered || !dispatchQueuedEvents()) waitForEvents(timeout);
    }
    for (auto& [worker, started] : starts)
        if (started) started(captureError(CaptureError::connectionLost, "capture: shut down"));
    endAll(std::nullopt);
}

// False once the thread must end; `starts` then holds the starts that never ran.
bool X11CaptureThread::takeStarts(std::vector<Start>& starts) {
    std::lock_guard lock(mutex_);
    starts.swap(starts_);
    return !quit_;
}

void X11CaptureThread::begin(std::vector<Start>& starts) {
    if (!starts.empty() && (connection_ == nullptr || connection_->broken()))
        connection_ = X11Connection::open(displayName_);
    for (auto& [worker, started] : starts) {
        std::optional<platform::PlatformError> failure;
        if (connection_ == nullptr)
            failure =
                captureError(CaptureError::connectionLost, "capture: cannot reach the X display");
        else
            failure = worker->begin(connection_, [weak = weak_from_this()] {
                if (auto self = weak.lock()) self->wakeAfterRead();
            });
        if (started) started(failure);
        if (failure)
            worker->end(std::nullopt);
        else
            running_.push_back(worker);
    }
    starts.clear();
}

void X11CaptureThread::endStopped() {
    std::erase_if(running_, [](const std::shared_ptr<X11CaptureWorker>& worker) {
        if (!worker->stopRequested()) return false;
        worker->end(std::nullopt);
        return true;
    });
}

// Each stream looks at every event: few streams run at once. One read of the socket a turn:
// what arrives later wakes the wait, and what a reply's read queued is taken here first.
void X11CaptureThread::dispatchEvents() {
    xcb_connection_t* c = connection_->get();
    for (xcb_generic_event_t* event = xcb_poll_for_event(c); event != nullptr;
         event = xcb_poll_for_queued_event(c))
        dispatch(event);
}

// Without reading the socket: true when there was an event.
bool X11CaptureThread::dispatchQueuedEvents() {
    xcb_connection_t* c = connection_->get();
    bool any = false;
    for (xcb_generic_event_t* event = xcb_poll_for_queued_event(c); event != nullptr;
         event = xcb_poll_for_queued_event(c)) {
        dispatch(event);
        any = true;
    }
    return any;
}

void X11CaptureThread::dispatch(xcb_generic_event_t* event) {
    std::erase_if(running_, [event](const std::shared_ptr<X11CaptureWorker>& worker) {
        return !worker->handle(*event);
    });
    std::free(event);
}

void X11CaptureThread::endAll(const std::optional<platform::PlatformError>& error) {
    for (const auto& worker : running_)
        worker->end(error);
    running_.clear();
    connection_.reset();
}

std::optional<X11CaptureThread::Clock::duration> X11CaptureThread::deliverDue(bool& delivered) {
    std::optional<Clock::duration> timeout;
    const Clock::time_point now = Clock::now();
    delivering_.assign(running_.begin(), running_.end());  // a delivery may stop a stream
    for (const auto& worker : delivering_) {
        const auto wait = worker->deliverIfDue(now, delivered);
        if (wait) timeout = timeout ? std::min(*timeout, *wait) : *wait;
    }
    delivering_.clear();
    connection_->flush();
    return timeout;
}

void X11CaptureThread::waitForEvents(std::optional<Clock::duration> timeout) {
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {-1, POLLIN, 0}};
    if (connection_ != nullptr) fds[1].fd = xcb_get_file_descriptor(connection_->get());
    const timespec limit = toTimespec(timeout.value_or(Clock::duration{0}));
    const int ready =
        ppoll(fds, connection_ != nullptr ? 2 : 1, timeout ? &limit : nullptr, nullptr);
    if (ready > 0 && (fds[0].revents & POLLIN) != 0) {
        uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(wakeFd_, &count, sizeof count);
    }
}

}  // namespace desktop
