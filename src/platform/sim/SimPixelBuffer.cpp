#include "platform/sim/SimPixelBuffer.h"

#include <algorithm>

namespace sim {
namespace {

constexpr int32_t invalidArgument = -6661;

void fillRow1(SimPixelBuffer& buffer, const SimFrame& frame) {
    for (size_t x = 0; x < buffer.width(); ++x) {
        uint8_t* pixel = buffer.pixel(x, 1);
        pixel[0] = frame.blueFrom && x >= *frame.blueFrom ? 255 : 0;
        pixel[3] = frame.alphaFrom && x >= *frame.alphaFrom ? 255 : 0;
    }
}

}  // namespace

SimPixelBuffer::SimPixelBuffer(size_t width, size_t height, size_t bytesPerRow, bool hasPixels)
    : width_(width), height_(height), bytesPerRow_(bytesPerRow ? bytesPerRow : 4 * width) {
    if (hasPixels) bytes_.assign(bytesPerRow_ * height_, 0);
}

int32_t SimPixelBuffer::lockBaseAddress(uint32_t) {
    locks_.fetch_add(1);
    return 0;
}

int32_t SimPixelBuffer::lockRegion(uint32_t flags, const platform::PixelRegion& region) {
    {
        std::lock_guard lock(mutex_);
        region_ = region;
    }
    return lockBaseAddress(flags);
}

std::optional<platform::PixelRegion> SimPixelBuffer::lockedRegion() const {
    std::lock_guard lock(mutex_);
    return region_;
}

int32_t SimPixelBuffer::unlockBaseAddress(uint32_t) {
    int current = locks_.load();
    while (current > 0 && !locks_.compare_exchange_weak(current, current - 1)) {
    }
    return current > 0 ? 0 : invalidArgument;
}

const uint8_t* SimPixelBuffer::baseAddress() const {
    if (locks_.load() == 0 || bytes_.empty()) return nullptr;
    return bytes_.data();
}

std::shared_ptr<SimPixelBuffer> makePixelBuffer(const SimFrame& frame) {
    auto buffer = std::make_shared<SimPixelBuffer>(frame.width, frame.height, frame.bytesPerRow,
                                                   frame.hasPixels);
    if (!frame.hasPixels) return buffer;
    for (size_t y = 0; y < frame.height; ++y) {
        uint8_t* row = buffer->pixel(0, y);
        std::fill(row, row + buffer->bytesPerRow(), uint8_t{255});  // padding included
        if (y == 0) std::fill(row, row + 4 * frame.width, uint8_t{0});
    }
    if (frame.height > 1) fillRow1(*buffer, frame);
    return buffer;
}

std::shared_ptr<platform::SampleBuffer> makeSampleBuffer(const SimFrame& frame) {
    std::shared_ptr<platform::PixelBuffer> image;
    if (frame.hasImage) image = makePixelBuffer(frame);
    return std::make_shared<platform::SampleBuffer>(frame.valid, std::move(image));
}

}  // namespace sim
