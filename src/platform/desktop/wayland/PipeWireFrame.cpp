#include "platform/desktop/wayland/PipeWireFrame.h"

namespace desktop {

PipeWireFrame::PipeWireFrame(const uint8_t* pixels, size_t width, size_t height, size_t stride,
                             bool forceOpaque)
    : width_(width), height_(height), stride_(stride), pixels_(pixels, pixels + height * stride) {
    if (!forceOpaque) return;
    for (size_t y = 0; y < height_; ++y) {
        uint8_t* row = pixels_.data() + y * stride_;
        for (size_t x = 0; x < width_; ++x)
            row[x * 4 + 3] = 255;
    }
}

}  // namespace desktop
