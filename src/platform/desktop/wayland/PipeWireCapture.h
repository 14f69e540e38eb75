#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/CaptureStream.h"
#include "platform/Dispatch.h"
#include "platform/desktop/wayland/ScreencastSource.h"

namespace desktop {

class PipeWireConsumer;
class PipeWireFrame;

// The codes of the errors that a capture reports.
enum class PipeWireCaptureError : int64_t {
    unsupported = 1,
    windowGone = 2,
    connectionLost = 3,
    misuse = 4,
    timedOut = 5,
};

// Everything behind one capture stream: the window's uuid looked up and shared by the
// compositor (on the main thread), the node consumed on the PipeWire thread, and the way
// back to the owner. A start that does not reach streaming within the deadline fails.
// It keeps itself alive while it runs.
class PipeWireCapture : public std::enable_shared_from_this<PipeWireCapture> {
public:
    using Completion = platform::Stream::Completion;

    struct Setup {
        std::shared_ptr<ScreencastSource> source;
        WindowUuidLookup lookup;
        platform::Dispatch* dispatch = nullptr;
        uint32_t windowID = 0;
        double startDeadline = 5;  // seconds
    };

    PipeWireCapture(Setup setup, std::weak_ptr<platform::StreamDelegate> delegate);
    ~PipeWireCapture();
    PipeWireCapture(const PipeWireCapture&) = delete;
    PipeWireCapture& operator=(const PipeWireCapture&) = delete;

    void setOutput(std::weak_ptr<platform::StreamOutput> output);
    // Each completion runs once, on a thread other than the caller's.
    void start(Completion completion);
    void stop(Completion completion);

private:
    enum class State { created, starting, running, ended };

    void requestShare();
    void shareAnswered(const ScreencastSource::Outcome& outcome);
    void consume(uint32_t node);
    void streaming();
    void deliver(std::shared_ptr<PipeWireFrame> frame);
    void ended(const platform::PlatformError& error);
    void deadlinePassed();
    void finish(std::optional<platform::PlatformError> error);
    void tearDown(std::vector<Completion> completions);

    const Setup setup_;
    const std::weak_ptr<platform::StreamDelegate> delegate_;
    mutable std::mutex mutex_;  // guards everything below
    State state_ = State::created;
    bool stopRequested_ = false;
    Completion startCompletion_;
    std::vector<Completion> stopCompletions_;
    std::weak_ptr<platform::StreamOutput> output_;
    std::shared_ptr<ScreencastShare> share_;  // touched on the main thread
    std::unique_ptr<PipeWireConsumer> consumer_;
    std::shared_ptr<PipeWireCapture> keepAlive_;
};

}  // namespace desktop
