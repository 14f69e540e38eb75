#include "platform/desktop/x11/X11CaptureWorker.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <thread>

#include "platform/desktop/x11/X11CaptureTarget.h"
#include "platform/desktop/x11/X11Connection.h"

namespace desktop {
namespace {

using Clock = std::chrono::steady_clock;

// The caller must never see its own completion run inside its call (unless the system
// has no thread left to give).
void runElsewhere(platform::Stream::Completion completion,
                  std::optional<platform::PlatformError> error) {
    if (!completion) return;
    try {
        std::thread([completion, error] { completion(error); }).detach();
    } catch (const std::system_error&) {
        completion(error);
    }
}

timespec toTimespec(std::chrono::nanoseconds duration) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((duration - seconds).count())};
}

}  // namespace

X11CaptureWorker::X11CaptureWorker(std::string displayName, xcb_window_t window,
                                   std::chrono::nanoseconds minimumInterval,
                                   std::weak_ptr<platform::StreamDelegate> delegate)
    : displayName_(std::move(displayName)),
      window_(window),
      minimumInterval_(minimumInterval),
      delegate_(std::move(delegate)),
      wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

X11CaptureWorker::~X11CaptureWorker() {
    if (wakeFd_ >= 0) close(wakeFd_);
}

void X11CaptureWorker::setOutput(std::weak_ptr<platform::StreamOutput> output) {
    std::lock_guard lock(mutex_);
    output_ = std::move(output);
}

void X11CaptureWorker::start(Completion completion) {
    State was = State::created;
    {
        std::lock_guard lock(mutex_);
        was = state_;
        if (was == State::created) state_ = State::running;
    }
    if (was != State::created)
        return runElsewhere(
            std::move(completion),
            captureError(CaptureError::misuse, was == State::running
                                                   ? "capture: already started"
                                                   : "capture: the stream was stopped"));
    try {
        std::thread([self = shared_from_this(), completion] { self->run(completion); }).detach();
    } catch (const std::system_error&) {
        finish(std::nullopt);
        runElsewhere(std::move(completion),
                     captureError(CaptureError::unsupported, "capture: no thread for the stream"));
    }
}

void X11CaptureWorker::stop(Completion completion) {
    bool running = false;
    {
        std::lock_guard lock(mutex_);
        running = state_ == State::running;
        if (running) {
            stopRequested_ = true;
            stopCompletions_.push_back(std::move(completion));
        } else {
            state_ = State::ended;
        }
    }
    if (running) return wake();
    runElsewhere(std::move(completion), std::nullopt);
}

void X11CaptureWorker::wake() {
    if (wakeFd_ < 0) return;
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wakeFd_, &one, sizeof one);
}

bool X11CaptureWorker::stopRequested() const {
    std::lock_guard lock(mutex_);
    return stopRequested_;
}

void X11CaptureWorker::run(const Completion& started) {
    const std::shared_ptr<X11Connection> connection = X11Connection::open(displayName_);
    if (connection == nullptr || wakeFd_ < 0) {
        started(captureError(CaptureError::connectionLost, "capture: cannot reach the X display"));
        return finish(std::nullopt);
    }
    std::optional<platform::PlatformError> stopped;
    {  // the target lets go of what it set up before anyone hears of the end
        X11CaptureTarget target(connection, window_, [weak = weak_from_this()] {
            if (auto self = weak.lock()) self->wake();
        });
        const std::optional<platform::PlatformError> failure = target.start();
        started(failure);
        if (!failure) stopped = loop(*connection, target);
    }
    finish(stopped);
}

// Damage in non-empty mode reports once until the next subtract, so a burst of drawing
// costs one event; the interval then holds the frame back until its time.
std::optional<platform::PlatformError> X11CaptureWorker::loop(X11Connection& connection,
                                                              X11CaptureTarget& target) {
    xcb_connection_t* c = connection.get();
    bool pending = false;
    Clock::time_point last{};
    for (;;) {
        if (stopRequested()) return std::nullopt;
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const X11CaptureTarget::Change change = target.handle(*event);
            std::free(event);
            if (change == X11CaptureTarget::Change::gone) return target.goneError();
            pending = pending || change == X11CaptureTarget::Change::damaged;
        }
        if (connection.broken())
            return captureError(CaptureError::connectionLost,
                                "capture: lost the connection to the X server");
        std::optional<std::chrono::nanoseconds> timeout;
        if (pending) {
            const Clock::time_point now = Clock::now();
            if (now - last >= minimumInterval_) {
                pending = false;
                deliver(connection, target, last);
                continue;
            }
            timeout = last + minimumInterval_ - now;
        }
        waitForEvents(c, timeout);
    }
}

// The interval counts from the moment a frame goes out.
void X11CaptureWorker::deliver(X11Connection& connection, X11CaptureTarget& target,
                               std::chrono::steady_clock::time_point& sent) {
    std::shared_ptr<X11CaptureFrame> frame = target.takeFrame();
    connection.flush();
    if (frame == nullptr) return;
    std::shared_ptr<platform::StreamOutput> output;
    {
        std::lock_guard lock(mutex_);
        output = output_.lock();
    }
    if (output == nullptr) return;
    auto sampleBuffer = std::make_shared<platform::SampleBuffer>(true, std::move(frame));
    sent = Clock::now();
    output->didOutputSampleBuffer(sampleBuffer, platform::StreamOutputType::screen);
}

void X11CaptureWorker::waitForEvents(xcb_connection_t* c,
                                     std::optional<std::chrono::nanoseconds> timeout) {
    pollfd fds[2] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const timespec limit = toTimespec(timeout.value_or(std::chrono::nanoseconds{0}));
    const int ready = ppoll(fds, 2, timeout ? &limit : nullptr, nullptr);
    if (ready > 0 && (fds[1].revents & POLLIN) != 0) {
        uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(wakeFd_, &count, sizeof count);
    }
}

void X11CaptureWorker::finish(const std::optional<platform::PlatformError>& error) {
    std::vector<Completion> completions;
    bool report = false;
    {
        std::lock_guard lock(mutex_);
        state_ = State::ended;
        completions.swap(stopCompletions_);
        report = error.has_value() && !stopRequested_;
    }
    if (report)
        if (auto delegate = delegate_.lock()) delegate->didStopWithError(*error);
    for (const Completion& completion : completions)
        if (completion) completion(std::nullopt);
}

}  // namespace desktop
