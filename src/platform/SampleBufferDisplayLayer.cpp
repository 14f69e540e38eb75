#include "platform/SampleBufferDisplayLayer.h"

namespace platform {

void SampleBufferRenderer::enqueueSampleBuffer(const std::shared_ptr<SampleBuffer>& sampleBuffer) {
    std::shared_ptr<SampleBuffer> previous;  // released outside the lock
    std::shared_ptr<const FrameObserver> observer;
    {
        std::lock_guard lock(mutex_);
        ++count_;
        if (sampleBuffer != nullptr && sampleBuffer->imageBuffer() != nullptr) {
            const PixelBuffer& image = *sampleBuffer->imageBuffer();
            lastSize_ = {static_cast<double>(image.width()), static_cast<double>(image.height())};
        }
        previous = std::exchange(last_, sampleBuffer);
        observer = observer_;
    }
    if (observer != nullptr) (*observer)();
}

void SampleBufferRenderer::setFrameObserver(FrameObserver observer) {
    auto held = observer ? std::make_shared<const FrameObserver>(std::move(observer)) : nullptr;
    std::lock_guard lock(mutex_);
    observer_ = std::move(held);
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
