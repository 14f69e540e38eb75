#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/CaptureStream.h"
#include "platform/SampleBufferDisplayLayer.h"
#include "platform/ShareableContent.h"

namespace platform {
class Layer;
}

// The live capture of one window into a display layer. Frames arrive on the global
// concurrent queue; the corner radius is measured once from the first frame that allows
// it. Must be owned by a shared_ptr: the stream reaches it weakly.
class CaptureManager : public platform::StreamOutput,
                       public platform::StreamDelegate,
                       public std::enable_shared_from_this<CaptureManager> {
public:
    // Runs once with the error of adding the output or starting, or nothing; on any thread.
    using StartCompletion = std::function<void(std::optional<platform::PlatformError>)>;

    const std::shared_ptr<platform::SampleBufferDisplayLayer>& videoLayer() const {
        return videoLayer_;
    }
    // A plain layer that the owner may attach beneath videoLayer; never read here.
    std::shared_ptr<platform::Layer> staticLayer;
    // Called on the main thread when the stream stops with an error.
    std::function<void()> onError;
    // Called on the main thread, once, with the measured radius in points.
    std::function<void(double)> onCornerMeasured;

    std::shared_ptr<platform::Stream> stream() const;
    std::optional<platform::SCWindow> window() const;
    bool measuredCorner() const { return measuredCorner_.load(); }

    // Does nothing (and succeeds) while a stream exists.
    void startCapture(const platform::SCWindow& window, StartCompletion completion);
    // Asks the stream to stop and forgets it; the corner stays measured.
    void stopCapture();

    void didOutputSampleBuffer(const std::shared_ptr<platform::SampleBuffer>& sampleBuffer,
                               platform::StreamOutputType type) override;
    void didStopWithError(const platform::PlatformError& error) override;

private:
    static platform::StreamConfiguration configurationFor(const platform::ContentFilter& filter);
    // The new stream, stored; nothing when one exists already.
    std::shared_ptr<platform::Stream> createStream(const platform::SCWindow& window);
    void measureCorner(const platform::SampleBuffer& sampleBuffer);
    std::optional<double> windowWidth() const;

    const std::shared_ptr<platform::SampleBufferDisplayLayer> videoLayer_ =
        std::make_shared<platform::SampleBufferDisplayLayer>();
    mutable std::mutex mutex_;  // guards stream_ and window_
    std::shared_ptr<platform::Stream> stream_;
    std::optional<platform::SCWindow> window_;
    // Set by whichever frame measures first, so the radius is reported exactly once.
    std::atomic<bool> measuredCorner_{false};
};
