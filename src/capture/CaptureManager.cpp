#include "capture/CaptureManager.h"

#include "capture/CornerRadius.h"
#include "platform/Platform.h"

namespace {

// The longest side a stream can have, in pixels.
constexpr double maxStreamLength = 16384;

// A size in pixels from one in points: whole pixels, 1 to the longest side a stream can
// have (a size that is not a number counts as 1).
size_t pixelLength(double points, double scale) {
    const double pixels = points * scale;
    if (!(pixels >= 1)) return 1;
    return static_cast<size_t>(pixels < maxStreamLength ? pixels : maxStreamLength);
}

}  // namespace

std::shared_ptr<platform::Stream> CaptureManager::stream() const {
    std::lock_guard lock(mutex_);
    return stream_;
}

std::optional<platform::SCWindow> CaptureManager::window() const {
    std::lock_guard lock(mutex_);
    return window_;
}

platform::StreamConfiguration CaptureManager::configurationFor(
    const platform::ContentFilter& filter) {
    platform::StreamConfiguration configuration;
    configuration.pixelFormat = platform::pixelFormatBGRA;
    configuration.colorSpaceName = platform::colorSpaceSRGB;
    configuration.showsCursor = false;
    configuration.capturesAudio = false;
    configuration.minimumFrameInterval = {1, 120};
    configuration.queueDepth = 2;
    configuration.width = pixelLength(filter.contentRect.width, filter.pointPixelScale);
    configuration.height = pixelLength(filter.contentRect.height, filter.pointPixelScale);
    return configuration;
}

void CaptureManager::startCapture(const platform::SCWindow& window, StartCompletion completion) {
    std::shared_ptr<platform::Stream> stream = createStream(window);
    if (stream == nullptr) return completion(std::nullopt);  // already capturing
    if (auto error = stream->addStreamOutput(weak_from_this(), platform::StreamOutputType::screen))
        return completion(error);
    stream->startCapture(std::move(completion));
}

std::shared_ptr<platform::Stream> CaptureManager::createStream(const platform::SCWindow& window) {
    std::lock_guard lock(mutex_);
    if (stream_ != nullptr) return nullptr;
    window_ = window;
    const platform::ContentFilter filter =
        platform::captureStreams().desktopIndependentWindowFilter(window);
    stream_ =
        platform::captureStreams().createStream(filter, configurationFor(filter), weak_from_this());
    return stream_;
}

void CaptureManager::stopCapture() {
    std::shared_ptr<platform::Stream> stream;
    {
        std::lock_guard lock(mutex_);
        stream = std::move(stream_);
        stream_ = nullptr;
    }
    if (stream != nullptr) stream->stopCapture([](std::optional<platform::PlatformError>) {});
}

void CaptureManager::didOutputSampleBuffer(
    const std::shared_ptr<platform::SampleBuffer>& sampleBuffer, platform::StreamOutputType type) {
    if (sampleBuffer == nullptr || !sampleBuffer->isValid()) return;
    if (type != platform::StreamOutputType::screen) return;
    // Shown before it is measured: a measurement may have to fetch pixels first, and the
    // frame need not wait for that.
    videoLayer_->sampleBufferRenderer().enqueueSampleBuffer(sampleBuffer);
    if (!measuredCorner_.load()) measureCorner(*sampleBuffer);
}

void CaptureManager::measureCorner(const platform::SampleBuffer& sampleBuffer) {
    const std::optional<double> radius = cornerRadiusPoints(sampleBuffer, windowWidth());
    if (!radius) return;
    bool expected = false;
    if (!measuredCorner_.compare_exchange_strong(expected, true)) return;  // another frame won
    platform::dispatch().mainAsync([weak = weak_from_this(), radius = *radius] {
        auto self = weak.lock();
        if (self != nullptr && self->onCornerMeasured) self->onCornerMeasured(radius);
    });
}

std::optional<double> CaptureManager::windowWidth() const {
    std::lock_guard lock(mutex_);
    if (!window_) return std::nullopt;
    return window_->frame.width;
}

void CaptureManager::didStopWithError(const platform::PlatformError&) {
    platform::dispatch().mainAsync([weak = weak_from_this()] {
        auto self = weak.lock();
        if (self != nullptr && self->onError) self->onError();
    });
}
