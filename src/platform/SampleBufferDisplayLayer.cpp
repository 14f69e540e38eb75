#include "platform/SampleBufferDisplayLayer.h"

namespace platform {

void SampleBufferRenderer::enqueueSampleBuffer(const std::shared_ptr<SampleBuffer>& sampleBuffer) {
    std::shared_ptr<SampleBuffer> previous;  // released outside the lock
    std::lock_guard lock(mutex_);
    ++count_;
    if (sampleBuffer != nullptr && sampleBuffer->imageBuffer() != nullptr) {
        const PixelBuffer& image = *sampleBuffer->imageBuffer();
        lastSize_ = {static_cast<double>(image.width()), static_cast<double>(image.height())};
    }
    previous = std::exchange(last_, sampleBuffer);
}

uint64_t SampleBufferRenderer::enqueuedCount() const {
    std::lock_guard lock(mutex_);
    return count_;
}

Size SampleBufferRenderer::lastImageSize() const {
    std::lock_guard lock(mutex_);
    return lastSize_;
}

std::shared_ptr<SampleBuffer> SampleBufferRenderer::lastSampleBuffer() const {
    std::lock_guard lock(mutex_);
    return last_;
}

}  // namespace platform
