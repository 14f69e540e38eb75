#include "platform/desktop/wayland/PipeWireCapture.h"

#include <system_error>
#include <thread>

#include "platform/desktop/wayland/PipeWireConsumer.h"
#include "platform/desktop/wayland/PipeWireLoop.h"

namespace desktop {
namespace {

platform::PlatformError captureError(PipeWireCaptureError code, std::string description) {
    return {static_cast<int64_t>(code), std::move(description)};
}

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

PipeWireCapture::PipeWireCapture(Setup setup, std::weak_ptr<platform::StreamDelegate> delegate)
    : setup_(std::move(setup)), delegate_(std::move(delegate)) {}

PipeWireCapture::~PipeWireCapture() = default;

void PipeWireCapture::setOutput(std::weak_ptr<platform::StreamOutput> output) {
    std::lock_guard lock(mutex_);
    output_ = std::move(output);
}

void PipeWireCapture::start(Completion completion) {
    State was = State::created;
    {
        std::lock_guard lock(mutex_);
        was = state_;
        if (was == State::created) {
            state_ = State::starting;
            startCompletion_ = std::move(completion);
            keepAlive_ = shared_from_this();
        }
    }
    if (was != State::created)
        return runElsewhere(std::move(completion),
                            captureError(PipeWireCaptureError::misuse,
                                         was == State::ended ? "capture: the stream was stopped"
                                                             : "capture: already started"));
    const std::weak_ptr<PipeWireCapture> weak = weak_from_this();
    setup_.dispatch->mainAsync([weak] {
        if (auto self = weak.lock()) self->requestShare();
    });
    setup_.dispatch->mainAsyncAfter(setup_.startDeadline, [weak] {
        if (auto self = weak.lock()) self->deadlinePassed();
    });
}

void PipeWireCapture::stop(Completion completion) {
    bool active = false;
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
        active = state_ == State::starting || state_ == State::running;
        if (active)
            stopCompletions_.push_back(std::move(completion));
        else
            state_ = State::ended;
    }
    if (active) return finish(std::nullopt);
    runElsewhere(std::move(completion), std::nullopt);
}

void PipeWireCapture::requestShare() {
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::starting) return;
    }
    const std::optional<std::string> uuid = setup_.lookup(setup_.windowID);
    if (!uuid)
        return finish(
            captureError(PipeWireCaptureError::windowGone,
                         "capture: window " + std::to_string(setup_.windowID) + " is gone"));
    const std::weak_ptr<PipeWireCapture> weak = weak_from_this();
    std::shared_ptr<ScreencastShare> share =
        setup_.source->streamWindow(*uuid, [weak](const ScreencastSource::Outcome& outcome) {
            if (auto self = weak.lock()) self->shareAnswered(outcome);
        });
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::starting) {
            share_ = std::move(share);
            return;
        }
    }
    if (share) share->close();
}

void PipeWireCapture::shareAnswered(const ScreencastSource::Outcome& outcome) {
    if (const auto* why = std::get_if<std::string>(&outcome))
        return finish(captureError(
            PipeWireCaptureError::windowGone,
            "capture: no picture of window " + std::to_string(setup_.windowID) + ": " + *why));
    consume(std::get<uint32_t>(outcome));
}

void PipeWireCapture::consume(uint32_t node) {
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::starting) return;
    }
    const std::weak_ptr<PipeWireCapture> weak = weak_from_this();
    PipeWireConsumer::Events events{
        [weak] {
            if (auto self = weak.lock()) self->streaming();
        },
        [weak](std::shared_ptr<PipeWireFrame> frame) {
            if (auto self = weak.lock()) self->deliver(std::move(frame));
        },
        [weak](const std::string& why) {
            if (auto self = weak.lock())
                self->finish(captureError(PipeWireCaptureError::connectionLost, why));
        }};
    std::string failure = "capture: PipeWire is not available";
    PipeWireLoop* loop = PipeWireLoop::shared();
    std::unique_ptr<PipeWireConsumer> consumer =
        loop ? PipeWireConsumer::connect(*loop, node, std::move(events), failure) : nullptr;
    if (consumer == nullptr)
        return finish(captureError(PipeWireCaptureError::connectionLost, failure));
    std::lock_guard lock(mutex_);
    if (state_ == State::starting || state_ == State::running) consumer_ = std::move(consumer);
    // otherwise it ended meanwhile, and the consumer goes here, outside its own events
}

void PipeWireCapture::streaming() {
    Completion started;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::starting) return;
        state_ = State::running;
        started = std::move(startCompletion_);
    }
    runElsewhere(std::move(started), std::nullopt);
}

void PipeWireCapture::deliver(std::shared_ptr<PipeWireFrame> frame) {
    std::shared_ptr<platform::StreamOutput> output;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::running) return;
        output = output_.lock();
    }
    if (output == nullptr) return;
    output->didOutputSampleBuffer(std::make_shared<platform::SampleBuffer>(true, std::move(frame)),
                                  platform::StreamOutputType::screen);
}

void PipeWireCapture::deadlinePassed() {
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::starting) return;
    }
    finish(
        captureError(PipeWireCaptureError::timedOut, "capture: the stream did not start in time"));
}

// A start still waiting learns the outcome; a running stream that ends by itself tells its
// delegate, once; a stop hears back when everything is let go.
void PipeWireCapture::finish(std::optional<platform::PlatformError> error) {
    Completion started;
    std::vector<Completion> stopped;
    bool report = false;
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::ended) return;
        report = state_ == State::running && error.has_value() && !stopRequested_;
        state_ = State::ended;
        started = std::move(startCompletion_);
        stopped.swap(stopCompletions_);
    }
    if (started)
        runElsewhere(std::move(started),
                     error ? error
                           : captureError(PipeWireCaptureError::misuse,
                                          "capture: the stream was stopped before it started"));
    if (report)
        if (auto delegate = delegate_.lock()) delegate->didStopWithError(*error);
    tearDown(std::move(stopped));
}

// The consumer may not go inside its own events, and the share only on the main thread:
// a short-lived thread lets go of both, then tells those who stopped the stream.
void PipeWireCapture::tearDown(std::vector<Completion> completions) {
    std::unique_ptr<PipeWireConsumer> consumer;
    std::shared_ptr<ScreencastShare> share;
    std::shared_ptr<PipeWireCapture> keep;
    {
        std::lock_guard lock(mutex_);
        consumer = std::move(consumer_);
        share = std::move(share_);
        keep = std::move(keepAlive_);
    }
    auto work = [consumer = std::move(consumer), share = std::move(share), keep = std::move(keep),
                 completions = std::move(completions)]() mutable {
        consumer.reset();
        if (share) keep->setup_.dispatch->mainAsync([share = std::move(share)] { share->close(); });
        for (const Completion& completion : completions)
            if (completion) completion(std::nullopt);
    };
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error&) {
        work();
    }
}

}  // namespace desktop
