#pragma once

#include <xcb/render.h>
#include <xcb/xfixes.h>

#include <memory>

#include "platform/desktop/x11/X11VideoSink.h"

namespace desktop {

class X11CaptureFrame;
class X11Connection;
class X11PixmapLease;

// Draws a capture's frames into its panel from the capture's own thread and connection:
// only what changed since the frame before, inside the clip that the panel's layout set.
// The server intersects the two; no rectangle crosses the connection per frame. Used by
// that one thread; its pictures and regions live on the capture's connection.
class X11VideoCompositor {
public:
    explicit X11VideoCompositor(std::shared_ptr<X11VideoSink> sink) : sink_(std::move(sink)) {}
    ~X11VideoCompositor();
    X11VideoCompositor(const X11VideoCompositor&) = delete;
    X11VideoCompositor& operator=(const X11VideoCompositor&) = delete;

    // False when the panel's thread must draw it (no layout yet, or no picture possible).
    bool draw(const X11CaptureFrame& frame);

private:
    void useConnection(const std::shared_ptr<X11Connection>& connection);
    bool prepareTarget(const std::shared_ptr<const X11VideoSink::Layout>& layout);
    void placeShape(int16_t x, int16_t y);
    xcb_render_picture_t sourceFor(const std::shared_ptr<const X11PixmapLease>& lease);
    void freeTarget();
    void freeSource();

    const std::shared_ptr<X11VideoSink> sink_;
    std::shared_ptr<X11Connection> connection_;
    std::shared_ptr<const X11VideoSink::Layout> applied_;
    xcb_render_picture_t target_ = 0;
    xcb_xfixes_region_t shape_ = 0;  // the layout's clip, placed as the pixmap lies
    xcb_xfixes_region_t clip_ = 0;   // what to draw of the frame
    int16_t shapeX_ = 0;             // where the layout's origin lies in the pixmap
    int16_t shapeY_ = 0;
    std::shared_ptr<const X11PixmapLease> sourceLease_;
    xcb_render_picture_t source_ = 0;
};

}  // namespace desktop
