#include "platform/desktop/wayland/PipeWireFrame.h"

#include <cstring>

namespace desktop {

// Whole pixels at a time, so that the compiler can work on many at once.
PipeWireFrame::PipeWireFrame(const uint8_t* pixels, size_t width, size_t height, size_t stride,
                             bool forceOpaque)
    : width_(width), height_(height), stride_(stride), copy_(pixels, pixels + height * stride) {
    pixels_ = copy_.data();
    if (!forceOpaque) return;
    for (size_t y = 0; y < height_; ++y) {
        uint8_t* row = copy_.data() + y * stride_;
        for (size_t x = 0; x < width_; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, row + 4 * x, 4);
            pixel |= 0xff000000u;  // byte 3 (alpha) on a little-endian machine
            std::memcpy(row + 4 * x, &pixel, 4);
        }
    }
}

PipeWireFrame::PipeWireFrame(const uint8_t* pixels, size_t width, size_t height, size_t stride,
                             std::function<void()> giveBack, std::optional<SharedMemory> shared)
    : width_(width),
      height_(height),
      stride_(stride),
      pixels_(pixels),
      giveBack_(std::move(giveBack)),
      shared_(shared) {}

PipeWireFrame::~PipeWireFrame() {
    std::function<void()> giveBack;
    {
        std::lock_guard lock(mutex_);
        giveBack.swap(giveBack_);
    }
    if (giveBack) giveBack();
}

int32_t PipeWireFrame::lockBaseAddress(uint32_t) {
    std::lock_guard lock(mutex_);
    ++readers_;
    return 0;
}

int32_t PipeWireFrame::unlockBaseAddress(uint32_t) {
    {
        std::lock_guard lock(mutex_);
        if (readers_ == 0) return -1;
        --readers_;
    }
    unlocked_.notify_all();
    return 0;
}

const uint8_t* PipeWireFrame::baseAddress() const {
    std::lock_guard lock(mutex_);
    return readers_ > 0 && height_ > 0 ? pixels_ : nullptr;
}

void PipeWireFrame::detach() {
    std::unique_lock lock(mutex_);
    if (!giveBack_) return;
    unlocked_.wait(lock, [this] { return readers_ == 0; });
    copy_.assign(pixels_, pixels_ + height_ * stride_);
    pixels_ = copy_.data();
    giveBack_ = nullptr;
    shared_.reset();
}

bool PipeWireFrame::borrowed() const {
    std::lock_guard lock(mutex_);
    return static_cast<bool>(giveBack_);
}

std::optional<PipeWireFrame::SharedMemory> PipeWireFrame::sharedMemory() const {
    std::lock_guard lock(mutex_);
    if (readers_ == 0 || !giveBack_) return std::nullopt;
    return shared_;
}

}  // namespace desktop
