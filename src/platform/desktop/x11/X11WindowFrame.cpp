#include "platform/desktop/x11/X11WindowFrame.h"

#include "platform/desktop/x11/X11CapturePixels.h"
#include "platform/desktop/x11/X11Connection.h"

namespace desktop {

X11PixmapLease::X11PixmapLease(std::shared_ptr<X11Connection> connection, xcb_pixmap_t pixmap,
                               uint8_t depth, xcb_visualid_t visual,
                               std::function<void()> afterRead)
    : connection_(std::move(connection)),
      pixmap_(pixmap),
      depth_(depth),
      visual_(visual),
      afterRead_(std::move(afterRead)) {}

X11PixmapLease::~X11PixmapLease() {
    // Checked and discarded: nobody may be left reading this connection's events.
    const auto cookie = xcb_free_pixmap_checked(connection_->get(), pixmap_);
    xcb_discard_reply(connection_->get(), cookie.sequence);
    connection_->flush();
}

X11WindowFrame::X11WindowFrame(std::shared_ptr<const X11PixmapLease> lease, int16_t x, int16_t y,
                               uint16_t width, uint16_t height)
    : lease_(std::move(lease)), x_(x), y_(y), width_(width), height_(height) {}

int32_t X11WindowFrame::lockBaseAddress(uint32_t) {
    std::lock_guard lock(mutex_);
    if (locks_ == 0) {
        const PixelRect rect{lease_->pixmap(), x_, y_, width_, height_};
        const bool read = readPixels(lease_->connection(), rect, lease_->depth(), pixels_);
        lease_->readDone();
        if (!read) {
            pixels_.clear();
            return lockFailed;
        }
    }
    ++locks_;
    return 0;
}

int32_t X11WindowFrame::unlockBaseAddress(uint32_t) {
    std::lock_guard lock(mutex_);
    if (locks_ == 0) return lockFailed;
    if (--locks_ == 0) std::vector<uint8_t>().swap(pixels_);
    return 0;
}

const uint8_t* X11WindowFrame::baseAddress() const {
    std::lock_guard lock(mutex_);
    return locks_ > 0 && !pixels_.empty() ? pixels_.data() : nullptr;
}

}  // namespace desktop
