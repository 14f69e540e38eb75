#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/Geometry.h"
#include "platform/Layer.h"
#include "platform/PixelBuffer.h"

namespace platform {

// Takes frames for display from any thread; keeps the latest one for the layer to draw.
class SampleBufferRenderer {
public:
    // Told after each enqueued frame, on the enqueuing thread, outside any lock: the
    // backend that draws the layer learns that there is something new to draw.
    using FrameObserver = std::function<void()>;

    void enqueueSampleBuffer(const std::shared_ptr<SampleBuffer>& sampleBuffer);
    void setFrameObserver(FrameObserver observer);

    uint64_t enqueuedCount() const;
    // Pixel size of the latest frame that had an image; zero before the first.
    Size lastImageSize() const;
    std::shared_ptr<SampleBuffer> lastSampleBuffer() const;

private:
    mutable std::mutex mutex_;
    uint64_t count_ = 0;
    Size lastSize_;
    std::shared_ptr<SampleBuffer> last_;
    std::shared_ptr<const FrameObserver> observer_;
};

// The layer that shows a capture stream's frames. Its place in the layer tree is main
// thread only, like any layer's; its renderer takes frames from any thread.
class SampleBufferDisplayLayer : public Layer {
public:
    SampleBufferRenderer& sampleBufferRenderer() { return renderer_; }
    const SampleBufferRenderer& sampleBufferRenderer() const { return renderer_; }

private:
    SampleBufferRenderer renderer_;
};

}  // namespace platform
