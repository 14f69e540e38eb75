#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

// A rectangle of an image, in pixels from its top-left corner.
struct PixelRegion {
    size_t x = 0;
    size_t y = 0;
    size_t width = 0;
    size_t height = 0;
    bool operator==(const PixelRegion&) const = default;
};

// One captured image: 'BGRA', 4 bytes a pixel (blue, green, red, alpha); rows are
// bytesPerRow() apart, which may be more than 4 x width.
class PixelBuffer {
public:
    static constexpr uint32_t readOnly = 1;

    virtual ~PixelBuffer() = default;

    virtual size_t width() const = 0;
    virtual size_t height() const = 0;
    virtual size_t bytesPerRow() const = 0;
    // The pixels may be read only between a lock and the matching unlock (same flags).
    virtual int32_t lockBaseAddress(uint32_t flags) = 0;
    virtual int32_t unlockBaseAddress(uint32_t flags) = 0;
    // A lock for a reader that looks at the region only: outside it the bytes at the base
    // address may be anything. An image that must first be fetched fetches just the region.
    // Undone by unlockBaseAddress with the same flags.
    virtual int32_t lockRegion(uint32_t flags, const PixelRegion&) {
        return lockBaseAddress(flags);
    }
    // Null when the buffer is not locked or holds no pixels.
    virtual const uint8_t* baseAddress() const = 0;
};

// What a capture stream delivers: maybe valid, maybe with an image.
class SampleBuffer {
public:
    SampleBuffer(bool valid, std::shared_ptr<PixelBuffer> imageBuffer)
        : valid_(valid), imageBuffer_(std::move(imageBuffer)) {}

    bool isValid() const { return valid_; }
    // Empty for a frame that carries no new image.
    PixelBuffer* imageBuffer() const { return imageBuffer_.get(); }

private:
    bool valid_;
    std::shared_ptr<PixelBuffer> imageBuffer_;
};

}  // namespace platform
