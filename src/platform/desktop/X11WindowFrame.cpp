#include "platform/desktop/X11WindowFrame.h"

#include "platform/desktop/X11Connection.h"

namespace desktop {

X11PixmapLease::X11PixmapLease(std::shared_ptr<X11Connection> connection, xcb_pixmap_t pixmap,
                               uint8_t depth)
    : connection_(std::move(connection)), pixmap_(pixmap), depth_(depth) {}

X11PixmapLease::~X11PixmapLease() {
    xcb_free_pixmap(connection_->get(), pixmap_);
    connection_->flush();
}

X11WindowFrame::X11WindowFrame(std::shared_ptr<const X11PixmapLease> lease, int16_t x, int16_t y,
                               uint16_t width, uint16_t height)
    : lease_(std::move(lease)), x_(x), y_(y), width_(width), height_(height) {}

// Reading pixels comes with the capture stream.
int32_t X11WindowFrame::lockBaseAddress(uint32_t) {
    return -1;
}

int32_t X11WindowFrame::unlockBaseAddress(uint32_t) {
    return 0;
}

const uint8_t* X11WindowFrame::baseAddress() const {
    return nullptr;
}

}  // namespace desktop
