#include "desktop/CaptureRecorder.h"

#include <algorithm>
#include <cstring>

namespace {

CaptureRecord::Pixel pixelAt(const uint8_t* base, size_t stride, size_t x, size_t y) {
    CaptureRecord::Pixel pixel;
    std::memcpy(pixel.data(), base + y * stride + 4 * x, 4);
    return pixel;
}

}  // namespace

void CaptureRecorder::didOutputSampleBuffer(
    const std::shared_ptr<platform::SampleBuffer>& sampleBuffer, platform::StreamOutputType) {
    CaptureRecord next;
    {
        std::lock_guard lock(mutex_);
        next = record_;
    }
    const auto now = std::chrono::steady_clock::now();
    if (next.frames > 0) next.shortestGap = std::min(next.shortestGap, now - lastFrame_);
    ++next.frames;
    next.last = sampleBuffer;
    if (platform::PixelBuffer* image = sampleBuffer->imageBuffer()) {
        next.width = image->width();
        next.height = image->height();
        if (readPixels_) readPixels(*image, next);
    }
    {
        std::lock_guard lock(mutex_);
        lastFrame_ = now;
        record_ = std::move(next);
    }
    changed_.notify_all();
    if (onFrame) onFrame();
}

void CaptureRecorder::readPixels(platform::PixelBuffer& image, CaptureRecord& record) {
    if (image.lockBaseAddress(platform::PixelBuffer::readOnly) != 0) return;
    if (const uint8_t* base = image.baseAddress()) {
        const size_t stride = image.bytesPerRow();
        const size_t w = image.width(), h = image.height();
        record.centre = pixelAt(base, stride, w / 2, h / 2);
        record.topLeft = pixelAt(base, stride, 0, 0);
        record.bottomRight = pixelAt(base, stride, w - 1, h - 1);
        record.opaque = true;
        for (size_t y = 0; y < h; ++y)
            for (size_t x = 0; x < w; ++x)
                record.opaque &= base[y * stride + 4 * x + 3] == 255;
    }
    image.unlockBaseAddress(platform::PixelBuffer::readOnly);
}

void CaptureRecorder::didStopWithError(const platform::PlatformError& error) {
    {
        std::lock_guard lock(mutex_);
        ++record_.errors;
        record_.error = error.description;
    }
    changed_.notify_all();
}

bool CaptureRecorder::waitUntil(const std::function<bool(const CaptureRecord&)>& condition,
                                std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return condition(record_); });
}

CaptureRecord CaptureRecorder::record() const {
    std::lock_guard lock(mutex_);
    return record_;
}

void CaptureRecorder::forgetLastFrame() {
    std::lock_guard lock(mutex_);
    record_.last = nullptr;
}
