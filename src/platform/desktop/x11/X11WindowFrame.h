#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/PixelBuffer.h"

namespace desktop {

class X11Connection;

// A window's contents kept by the X server: a named pixmap of the window's frame, freed
// (on the connection that named it) when the last holder lets go. The panel draws from it
// inside the server; nobody copies its pixels unless they lock a frame. The pixmap covers
// the frame's outer rectangle, border included.
class X11PixmapLease {
public:
    // afterRead, when given, is told after each read of the pixels (on the reading thread).
    X11PixmapLease(std::shared_ptr<X11Connection> connection, xcb_pixmap_t pixmap, uint8_t depth,
                   xcb_visualid_t visual, std::function<void()> afterRead = nullptr);
    ~X11PixmapLease();
    X11PixmapLease(const X11PixmapLease&) = delete;
    X11PixmapLease& operator=(const X11PixmapLease&) = delete;

    xcb_pixmap_t pixmap() const { return pixmap_; }
    uint8_t depth() const { return depth_; }
    // The visual of the window it was named from (for the picture format).
    xcb_visualid_t visual() const { return visual_; }
    X11Connection& connection() const { return *connection_; }
    void readDone() const {
        if (afterRead_) afterRead_();
    }

private:
    std::shared_ptr<X11Connection> connection_;
    xcb_pixmap_t pixmap_;
    uint8_t depth_;
    xcb_visualid_t visual_;
    std::function<void()> afterRead_;
};

// One captured frame: the part of the pixmap that the picture covers (shadow margins cut
// away). Locking reads those pixels into memory as BGRA (alpha 255 for windows without
// alpha); until then the frame costs nothing but its lease.
class X11WindowFrame : public platform::PixelBuffer {
public:
    static constexpr int32_t lockFailed = -6660;

    X11WindowFrame(std::shared_ptr<const X11PixmapLease> lease, int16_t x, int16_t y,
                   uint16_t width, uint16_t height);

    const std::shared_ptr<const X11PixmapLease>& lease() const { return lease_; }
    int16_t x() const { return x_; }  // in the pixmap
    int16_t y() const { return y_; }

    size_t width() const override { return width_; }
    size_t height() const override { return height_; }
    size_t bytesPerRow() const override { return size_t(width_) * 4; }
    // Reads the pixels on the first lock; lockFailed when the server gives none.
    int32_t lockBaseAddress(uint32_t flags) override;
    // Frees the pixels with the last unlock.
    int32_t unlockBaseAddress(uint32_t flags) override;
    const uint8_t* baseAddress() const override;

private:
    std::shared_ptr<const X11PixmapLease> lease_;
    int16_t x_;
    int16_t y_;
    uint16_t width_;
    uint16_t height_;
    mutable std::mutex mutex_;  // guards pixels_ and locks_
    std::vector<uint8_t> pixels_;
    int locks_ = 0;
};

}  // namespace desktop
