#pragma once

#include <cstdint>
#include <vector>

#include "platform/PixelBuffer.h"

namespace desktop {

// One frame copied out of a PipeWire buffer, so that the buffer can go back to the
// producer at once: BGRA rows, `bytesPerRow` apart as the producer laid them out.
class PipeWireFrame : public platform::PixelBuffer {
public:
    // Copies height rows of stride bytes; with forceOpaque (a BGRx producer) every alpha
    // byte becomes 255. The source must hold height x stride bytes.
    PipeWireFrame(const uint8_t* pixels, size_t width, size_t height, size_t stride,
                  bool forceOpaque);

    size_t width() const override { return width_; }
    size_t height() const override { return height_; }
    size_t bytesPerRow() const override { return stride_; }
    int32_t lockBaseAddress(uint32_t) override { return 0; }
    int32_t unlockBaseAddress(uint32_t) override { return 0; }
    const uint8_t* baseAddress() const override {
        return pixels_.empty() ? nullptr : pixels_.data();
    }

private:
    size_t width_;
    size_t height_;
    size_t stride_;
    std::vector<uint8_t> pixels_;
};

}  // namespace desktop
