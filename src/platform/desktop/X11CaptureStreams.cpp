#include <thread>

#include "platform/desktop/X11Services.h"

namespace desktop {
namespace {

// Placeholder until window capture lands: every stream fails to start.
class PendingStream : public platform::Stream {
public:
    std::optional<platform::PlatformError> addStreamOutput(std::weak_ptr<platform::StreamOutput>,
                                                           platform::StreamOutputType) override {
        return std::nullopt;
    }
    void startCapture(Completion completion) override {
        std::thread([completion] {
            completion(platform::PlatformError{1, "capture: not available yet"});
        }).detach();
    }
    void stopCapture(Completion completion) override {
        std::thread([completion] { completion(std::nullopt); }).detach();
    }
};

class PendingCaptureStreams : public platform::CaptureStreams {
public:
    platform::ContentFilter desktopIndependentWindowFilter(
        const platform::SCWindow& window) override {
        return {window, {0, 0, window.frame.width, window.frame.height}, 1};
    }
    std::shared_ptr<platform::Stream> createStream(
        const platform::ContentFilter&, const platform::StreamConfiguration&,
        std::weak_ptr<platform::StreamDelegate>) override {
        return std::make_shared<PendingStream>();
    }
};

}  // namespace

std::unique_ptr<platform::CaptureStreams> makeCaptureStreams(X11Context&) {
    return std::make_unique<PendingCaptureStreams>();
}

}  // namespace desktop
