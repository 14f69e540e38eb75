#include "platform/desktop/x11/X11CaptureWorker.h"

#include <system_error>
#include <thread>

#include "platform/desktop/x11/X11CaptureTarget.h"
#include "platform/desktop/x11/X11CaptureThread.h"
#include "platform/desktop/x11/X11Connection.h"

namespace desktop {
namespace {

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

}  // namespace

X11CaptureWorker::X11CaptureWorker(std::shared_ptr<X11CaptureThread> thread, xcb_window_t window,
                                   std::chrono::nanoseconds minimumInterval,
                                   std::weak_ptr<platform::StreamDelegate> delegate)
    : thread_(std::move(thread)),
      window_(window),
      minimumInterval_(minimumInterval),
      delegate_(std::move(delegate)) {}

X11CaptureWorker::~X11CaptureWorker() = default;

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
    if (thread_->add(shared_from_this(), completion)) return;
    end(std::nullopt);
    runElsewhere(std::move(completion),
                 captureError(CaptureError::unsupported, "capture: no thread for the stream"));
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
    if (running) return thread_->wake();
    runElsewhere(std::move(completion), std::nullopt);
}

bool X11CaptureWorker::stopRequested() const {
    return stopRequested_.load();
}

std::optional<platform::PlatformError> X11CaptureWorker::begin(
    std::shared_ptr<X11Connection> connection, std::function<void()> wake) {
    target_ = std::make_unique<X11CaptureTarget>(std::move(connection), window_, std::move(wake));
    return target_->start();
}

// Damage in non-empty mode reports once until the next subtract, so a burst of drawing
// costs one event; the interval then holds the frame back until its time.
bool X11CaptureWorker::handle(const xcb_generic_event_t& event) {
    const X11CaptureTarget::Change change = target_->handle(event);
    if (change == X11CaptureTarget::Change::gone) {
        end(target_->goneError());
        return false;
    }
    pending_ = pending_ || change == X11CaptureTarget::Change::damaged;
    return true;
}

std::optional<X11CaptureWorker::Clock::duration> X11CaptureWorker::deliverIfDue(
    Clock::time_point now, bool& delivered) {
    if (!pending_) return std::nullopt;
    if (now - sent_ < minimumInterval_) return sent_ + minimumInterval_ - now;
    pending_ = false;
    deliver();
    delivered = true;
    return std::nullopt;
}

// The interval counts from the moment a frame goes out.
void X11CaptureWorker::deliver() {
    std::shared_ptr<X11CaptureFrame> frame = target_->takeFrame();
    if (frame == nullptr) return;
    std::shared_ptr<platform::StreamOutput> output;
    {
        std::lock_guard lock(mutex_);
        output = output_.lock();
    }
    if (output == nullptr) return;
    auto sampleBuffer = std::make_shared<platform::SampleBuffer>(true, std::move(frame));
    sent_ = Clock::now();
    output->didOutputSampleBuffer(sampleBuffer, platform::StreamOutputType::screen);
}

void X11CaptureWorker::end(const std::optional<platform::PlatformError>& error) {
    target_.reset();  // the window is given back before anyone hears of the end
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
