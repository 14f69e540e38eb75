#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/CaptureStream.h"
#include "platform/PixelBuffer.h"

namespace sim {

// A BGRA image in memory. Its pixels can be read only while it is locked.
class SimPixelBuffer : public platform::PixelBuffer {
public:
    // bytesPerRow 0 means 4 x width; without pixels the base address stays null.
    SimPixelBuffer(size_t width, size_t height, size_t bytesPerRow, bool hasPixels = true);

    size_t width() const override { return width_; }
    size_t height() const override { return height_; }
    size_t bytesPerRow() const override { return bytesPerRow_; }
    int32_t lockBaseAddress(uint32_t flags) override;
    int32_t unlockBaseAddress(uint32_t flags) override;
    // Locks it all, and remembers which region the reader asked for.
    int32_t lockRegion(uint32_t flags, const platform::PixelRegion& region) override;
    const uint8_t* baseAddress() const override;

    uint8_t* pixel(size_t x, size_t y) { return bytes_.data() + y * bytesPerRow_ + 4 * x; }
    int locks() const { return locks_.load(); }
    // The region of the latest lockRegion; nothing after whole-image locks only.
    std::optional<platform::PixelRegion> lockedRegion() const;

private:
    size_t width_;
    size_t height_;
    size_t bytesPerRow_;
    std::vector<uint8_t> bytes_;
    std::atomic<int> locks_{0};
    mutable std::mutex mutex_;  // guards region_
    std::optional<platform::PixelRegion> region_;
};

// A frame as tests and scenarios describe it. Row 1 is transparent up to alphaFrom and
// opaque from there, its blue byte 0 up to blueFrom and 255 from there; row 0 is fully
// transparent, the rows below row 1 fully opaque, and row padding is 255.
struct SimFrame {
    size_t width = 0;  // 0: the stream's configured size
    size_t height = 0;
    size_t bytesPerRow = 0;  // 0: 4 x width
    std::optional<size_t> alphaFrom;
    std::optional<size_t> blueFrom;
    bool valid = true;
    bool hasImage = true;
    bool hasPixels = true;
    platform::StreamOutputType type = platform::StreamOutputType::screen;

    // The same row 1 in alpha and blue from x on.
    static SimFrame opaqueFrom(size_t x) {
        SimFrame frame;
        frame.alphaFrom = x;
        frame.blueFrom = x;
        return frame;
    }
};

std::shared_ptr<SimPixelBuffer> makePixelBuffer(const SimFrame& frame);
std::shared_ptr<platform::SampleBuffer> makeSampleBuffer(const SimFrame& frame);

}  // namespace sim
