#include "platform/desktop/x11/X11CaptureFrame.h"

#include <algorithm>
#include <cstring>

#include "platform/desktop/x11/X11CapturePixels.h"

namespace desktop {

X11CaptureFrame::X11CaptureFrame(std::shared_ptr<const X11PixmapLease> lease, int16_t x, int16_t y,
                                 uint16_t width, uint16_t height,
                                 std::shared_ptr<X11Connection> connection,
                                 std::shared_ptr<X11FrameScratch> scratch,
                                 xcb_xfixes_region_t changed)
    : X11WindowFrame(std::move(lease), x, y, width, height),
      connection_(std::move(connection)),
      scratch_(std::move(scratch)),
      changed_(changed) {}

X11CaptureFrame::~X11CaptureFrame() {
    release();
}

int32_t X11CaptureFrame::lockBaseAddress(uint32_t flags) {
    return lockRegion(flags, {0, 0, width(), height()});
}

// The first lock reads what it asks for; a later one that asks for more reads it all.
int32_t X11CaptureFrame::lockRegion(uint32_t, const platform::PixelRegion& asked) {
    const size_t x = std::min(asked.x, width()), y = std::min(asked.y, height());
    const platform::PixelRegion region{x, y, std::min(asked.width, width() - x),
                                       std::min(asked.height, height() - y)};
    if (region.width == 0 || region.height == 0) return lockFailed;
    std::lock_guard lock(mutex_);
    if (locks_ == 0 || !covers(region)) {
        const platform::PixelRegion wanted =
            locks_ == 0 ? region : platform::PixelRegion{0, 0, width(), height()};
        if (!fetch(wanted)) return lockFailed;
        held_ = wanted;
    }
    ++locks_;
    return 0;
}

bool X11CaptureFrame::covers(const platform::PixelRegion& region) const {
    return region.x >= held_.x && region.y >= held_.y &&
           region.x + region.width <= held_.x + held_.width &&
           region.y + region.height <= held_.y + held_.height;
}

// Reads the region into memory laid out as the whole image (rows of 4 x width bytes), so
// that the base address means what it means for any image.
bool X11CaptureFrame::fetch(const platform::PixelRegion& region) {
    X11FrameScratch::Buffers buffers = locks_ == 0 ? scratch_->take() : X11FrameScratch::Buffers{};
    const PixelRect rect{lease()->pixmap(), static_cast<int16_t>(X11WindowFrame::x() + region.x),
                         static_cast<int16_t>(X11WindowFrame::y() + region.y),
                         static_cast<uint16_t>(region.width), static_cast<uint16_t>(region.height)};
    const bool read = readPixels(lease()->connection(), rect, lease()->depth(), buffers.fetched);
    lease()->readDone();
    if (!read) {
        scratch_->giveBack(std::move(buffers));
        return false;
    }
    placeRows(region, buffers);
    if (locks_ > 0) retired_.push_back(std::move(buffers_));
    buffers_ = std::move(buffers);
    return true;
}

void X11CaptureFrame::placeRows(const platform::PixelRegion& region,
                                X11FrameScratch::Buffers& buffers) const {
    if (region.x == 0 && region.y == 0 && region.width == width()) {
        std::swap(buffers.image, buffers.fetched);
        return;
    }
    const size_t stride = bytesPerRow(), rowBytes = 4 * region.width;
    buffers.image.assign((region.y + region.height) * stride, 0);
    for (size_t row = 0; row < region.height; ++row)
        std::memcpy(buffers.image.data() + (region.y + row) * stride + 4 * region.x,
                    buffers.fetched.data() + row * rowBytes, rowBytes);
}

int32_t X11CaptureFrame::unlockBaseAddress(uint32_t) {
    std::lock_guard lock(mutex_);
    if (locks_ == 0) return lockFailed;
    if (--locks_ == 0) release();
    return 0;
}

// With the mutex held, or from the destructor.
void X11CaptureFrame::release() {
    for (auto& buffers : retired_)
        scratch_->giveBack(std::move(buffers));
    retired_.clear();
    scratch_->giveBack(std::move(buffers_));
    buffers_ = {};
    held_ = {};
}

const uint8_t* X11CaptureFrame::baseAddress() const {
    std::lock_guard lock(mutex_);
    return locks_ > 0 && !buffers_.image.empty() ? buffers_.image.data() : nullptr;
}

}  // namespace desktop
