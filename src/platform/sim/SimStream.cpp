#include "platform/sim/SimStream.h"

#include "platform/sim/SimCaptureModel.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

SimStream::SimStream(SimCaptureModel& model, platform::ContentFilter filter,
                     platform::StreamConfiguration configuration,
                     std::weak_ptr<platform::StreamDelegate> delegate)
    : model_(model),
      filter_(std::move(filter)),
      configuration_(std::move(configuration)),
      delegate_(std::move(delegate)) {}

std::optional<platform::PlatformError> SimStream::addStreamOutput(
    std::weak_ptr<platform::StreamOutput> output, platform::StreamOutputType type) {
    if (auto error = model_.addOutputError(filter_.window.windowID)) return error;
    std::lock_guard lock(mutex_);
    outputs_.emplace_back(std::move(output), type);
    return std::nullopt;
}

void SimStream::startCapture(Completion completion) {
    std::optional<platform::PlatformError> error = model_.startError(filter_.window.windowID);
    {
        std::lock_guard lock(mutex_);
        if (!error && state_ != State::created) {
            error = platform::PlatformError{-3808, "The stream was already started"};
        }
        if (!error) state_ = State::running;
    }
    model_.desktop().postService([completion, error] { completion(error); });
}

void SimStream::stopCapture(Completion completion) {
    std::optional<platform::PlatformError> error;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::running) {
            error = platform::PlatformError{-3808, "The stream is not running"};
        }
        state_ = State::stopped;
    }
    model_.desktop().postService([completion, error] { completion(error); });
}

SimStream::State SimStream::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

bool SimStream::deliver(const std::shared_ptr<platform::SampleBuffer>& frame,
                        platform::StreamOutputType type) {
    std::lock_guard lock(mutex_);
    if (state_ != State::running) return false;
    for (const auto& [weakOutput, outputType] : outputs_) {
        if (outputType != type) continue;
        model_.desktop().postGlobal([output = weakOutput, frame, type] {
            if (auto receiver = output.lock()) receiver->didOutputSampleBuffer(frame, type);
        });
    }
    return true;
}

bool SimStream::failWithError(const platform::PlatformError& error) {
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::running) return false;
        state_ = State::stopped;
    }
    model_.desktop().postGlobal([delegate = delegate_, error] {
        if (auto receiver = delegate.lock()) receiver->didStopWithError(error);
    });
    return true;
}

}  // namespace sim
