#pragma once

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/CaptureStream.h"

namespace sim {

class SimCaptureModel;

// One capture stream on the simulated desktop. Frames reach its outputs on the global
// queue, completions come on the service thread, and a stop with an error reaches the
// delegate on the global queue.
class SimStream : public platform::Stream {
public:
    enum class State { created, running, stopped };

    SimStream(SimCaptureModel& model, platform::ContentFilter filter,
              platform::StreamConfiguration configuration,
              std::weak_ptr<platform::StreamDelegate> delegate);

    std::optional<platform::PlatformError> addStreamOutput(
        std::weak_ptr<platform::StreamOutput> output, platform::StreamOutputType type) override;
    void startCapture(Completion completion) override;
    void stopCapture(Completion completion) override;

    // --- control ---------------------------------------------------------------------
    State state() const;
    const platform::ContentFilter& filter() const { return filter_; }
    const platform::StreamConfiguration& configuration() const { return configuration_; }
    // Hands the frame to the outputs of its type while running; false when not running.
    bool deliver(const std::shared_ptr<platform::SampleBuffer>& frame,
                 platform::StreamOutputType type);
    // Stops a running stream by itself and tells the delegate; false when not running.
    bool failWithError(const platform::PlatformError& error);

private:
    using Output = std::pair<std::weak_ptr<platform::StreamOutput>, platform::StreamOutputType>;

    SimCaptureModel& model_;
    const platform::ContentFilter filter_;
    const platform::StreamConfiguration configuration_;
    const std::weak_ptr<platform::StreamDelegate> delegate_;
    mutable std::mutex mutex_;
    State state_ = State::created;
    std::vector<Output> outputs_;
};

}  // namespace sim
