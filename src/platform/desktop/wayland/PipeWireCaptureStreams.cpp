#include "platform/desktop/wayland/PipeWireCaptureStreams.h"

#include "platform/desktop/wayland/PipeWireCapture.h"

namespace desktop {
namespace {

// The stream's face to its owner; dropping it stops the capture.
class PipeWireStream : public platform::Stream {
public:
    explicit PipeWireStream(std::shared_ptr<PipeWireCapture> capture)
        : capture_(std::move(capture)) {}
    ~PipeWireStream() override { capture_->stop(nullptr); }

    std::optional<platform::PlatformError> addStreamOutput(
        std::weak_ptr<platform::StreamOutput> output, platform::StreamOutputType type) override {
        if (type != platform::StreamOutputType::screen)
            return platform::PlatformError{static_cast<int64_t>(PipeWireCaptureError::unsupported),
                                           "capture: only pictures are captured"};
        capture_->setOutput(std::move(output));
        return std::nullopt;
    }
    void startCapture(Completion completion) override { capture_->start(std::move(completion)); }
    void stopCapture(Completion completion) override { capture_->stop(std::move(completion)); }

private:
    std::shared_ptr<PipeWireCapture> capture_;
};

}  // namespace

PipeWireCaptureStreams::PipeWireCaptureStreams(std::shared_ptr<ScreencastSource> source,
                                               WindowUuidLookup lookup,
                                               platform::Dispatch& dispatch,
                                               double startDeadlineSeconds)
    : source_(std::move(source)),
      lookup_(std::move(lookup)),
      dispatch_(dispatch),
      startDeadline_(startDeadlineSeconds) {}

platform::ContentFilter PipeWireCaptureStreams::desktopIndependentWindowFilter(
    const platform::SCWindow& window) {
    return {window, {0, 0, window.frame.width, window.frame.height}, 1};
}

std::shared_ptr<platform::Stream> PipeWireCaptureStreams::createStream(
    const platform::ContentFilter& filter, const platform::StreamConfiguration&,
    std::weak_ptr<platform::StreamDelegate> delegate) {
    PipeWireCapture::Setup setup{source_, lookup_, &dispatch_, filter.window.windowID,
                                 startDeadline_};
    return std::make_shared<PipeWireStream>(
        std::make_shared<PipeWireCapture>(std::move(setup), std::move(delegate)));
}

}  // namespace desktop
