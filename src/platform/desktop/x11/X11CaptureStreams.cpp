#include <chrono>

#include "platform/desktop/x11/X11CaptureTarget.h"
#include "platform/desktop/x11/X11CaptureThread.h"
#include "platform/desktop/x11/X11CaptureWorker.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Services.h"

namespace desktop {
namespace {

// The stream's face to its owner; dropping it stops the capture.
class X11CaptureStream : public platform::Stream {
public:
    explicit X11CaptureStream(std::shared_ptr<X11CaptureWorker> worker)
        : worker_(std::move(worker)) {}
    ~X11CaptureStream() override { worker_->stop(nullptr); }

    std::optional<platform::PlatformError> addStreamOutput(
        std::weak_ptr<platform::StreamOutput> output, platform::StreamOutputType type) override {
        if (type != platform::StreamOutputType::screen)
            return captureError(CaptureError::unsupported, "capture: only pictures are captured");
        worker_->setOutput(std::move(output));
        return std::nullopt;
    }
    void startCapture(Completion completion) override { worker_->start(std::move(completion)); }
    void stopCapture(Completion completion) override { worker_->stop(std::move(completion)); }

private:
    std::shared_ptr<X11CaptureWorker> worker_;
};

std::chrono::nanoseconds intervalOf(const platform::FrameInterval& interval) {
    if (interval.value <= 0 || interval.timescale <= 0) return std::chrono::nanoseconds{0};
    return std::chrono::nanoseconds(interval.value * 1'000'000'000 / interval.timescale);
}

// One stream a window, all of them on one capture thread with a connection of its own.
class X11CaptureStreams : public platform::CaptureStreams {
public:
    explicit X11CaptureStreams(X11Context& context)
        : thread_(std::make_shared<X11CaptureThread>(context.displayName())) {}
    ~X11CaptureStreams() override { thread_->shutdown(); }

    // One point is one pixel on this desktop.
    platform::ContentFilter desktopIndependentWindowFilter(
        const platform::SCWindow& window) override {
        return {window, {0, 0, window.frame.width, window.frame.height}, 1};
    }

    std::shared_ptr<platform::Stream> createStream(
        const platform::ContentFilter& filter, const platform::StreamConfiguration& configuration,
        std::weak_ptr<platform::StreamDelegate> delegate) override {
        return std::make_shared<X11CaptureStream>(std::make_shared<X11CaptureWorker>(
            thread_, filter.window.windowID, intervalOf(configuration.minimumFrameInterval),
            std::move(delegate)));
    }

private:
    const std::shared_ptr<X11CaptureThread> thread_;
};

}  // namespace

std::unique_ptr<platform::CaptureStreams> makeCaptureStreams(X11Context& context) {
    return std::make_unique<X11CaptureStreams>(context);
}

}  // namespace desktop
