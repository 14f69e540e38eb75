#pragma once

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <memory>
#include <mutex>
#include <vector>

#include "platform/desktop/x11/X11FrameScratch.h"
#include "platform/desktop/x11/X11WindowFrame.h"

namespace desktop {

// A frame as a capture delivers it: what changed since the frame before, and pixels read
// only as far as a lock asks for them, into memory that the capture's frames pass on (its
// locks replace those of the plain frame, whose own memory stays unused).
class X11CaptureFrame : public X11WindowFrame {
public:
    X11CaptureFrame(std::shared_ptr<const X11PixmapLease> lease, int16_t x, int16_t y,
                    uint16_t width, uint16_t height, std::shared_ptr<X11Connection> connection,
                    std::shared_ptr<X11FrameScratch> scratch, xcb_xfixes_region_t changed);
    ~X11CaptureFrame() override;

    // The connection of the capture's thread, on which the pixmap was named.
    const std::shared_ptr<X11Connection>& captureConnection() const { return connection_; }
    // What changed since the frame before, in the pixmap's pixels: a region on the capture's
    // connection that its next frame fills anew, so it is read while this frame is delivered.
    xcb_xfixes_region_t changed() const { return changed_; }

    int32_t lockBaseAddress(uint32_t flags) override;
    int32_t lockRegion(uint32_t flags, const platform::PixelRegion& region) override;
    int32_t unlockBaseAddress(uint32_t flags) override;
    const uint8_t* baseAddress() const override;

private:
    bool covers(const platform::PixelRegion& region) const;
    bool fetch(const platform::PixelRegion& region);
    void placeRows(const platform::PixelRegion& region, X11FrameScratch::Buffers& buffers) const;
    void release();

    const std::shared_ptr<X11Connection> connection_;
    const std::shared_ptr<X11FrameScratch> scratch_;
    const xcb_xfixes_region_t changed_;
    mutable std::mutex mutex_;  // guards everything below
    X11FrameScratch::Buffers buffers_;
    // Pixels a reader may still look at after a wider lock replaced them.
    std::vector<X11FrameScratch::Buffers> retired_;
    platform::PixelRegion held_;  // empty while unlocked
    int locks_ = 0;
};

}  // namespace desktop
