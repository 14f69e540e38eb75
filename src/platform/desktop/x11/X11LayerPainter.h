#pragma once

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/Color.h"
#include "platform/Geometry.h"
#include "platform/Layer.h"
#include "platform/SampleBufferDisplayLayer.h"
#include "platform/desktop/x11/SpanRegion.h"
#include "platform/desktop/x11/X11VideoCompositor.h"
#include "platform/desktop/x11/X11VideoSink.h"

namespace desktop {

class X11Connection;
class X11PixmapLease;

// The picture format of pixmaps of this depth (32: with alpha); 0 when the server has none.
xcb_render_pictformat_t pictureFormatForDepth(X11Connection& connection, uint8_t depth);

// Draws a layer tree into an XRender picture: background colours, rounded masks and
// borders as rectangles, and video layers by compositing the captured window's pixmap
// inside the server, so no frame's pixels pass through this process.
class X11LayerPainter {
public:
    explicit X11LayerPainter(X11Connection& connection);
    ~X11LayerPainter();
    X11LayerPainter(const X11LayerPainter&) = delete;
    X11LayerPainter& operator=(const X11LayerPainter&) = delete;

    // Everything, on a cleared canvas; remembers where the video layers lie.
    void paint(xcb_render_picture_t target, const platform::Layer& root, uint16_t width,
               uint16_t height);
    // Only the video layers, from their latest frames: the per-frame path.
    void paintVideo(xcb_render_picture_t target);
    // The video layers of the last full paint.
    std::vector<const platform::SampleBufferDisplayLayer*> videoLayers() const;
    // Whether a captured picture has been drawn since the last full paint began.
    bool drewPicture() const { return drewPicture_; }
    // Hands the video layers' places in `window` to their captures' threads, which then
    // draw the frames themselves; disarming takes that back.
    void armOutputs(xcb_window_t window, xcb_visualid_t visual);
    void disarmOutputs();
    // What draws a video layer's frames on its capture's thread.
    std::shared_ptr<X11VideoCompositor> compositorFor(
        const platform::SampleBufferDisplayLayer* layer) const;

private:
    struct VideoSlot {
        const platform::SampleBufferDisplayLayer* layer;
        platform::Rect rect;  // window pixels, y downwards
        std::vector<xcb_rectangle_t> clip;
    };

    struct VideoOutput {
        std::shared_ptr<X11VideoSink> sink = std::make_shared<X11VideoSink>();
        std::shared_ptr<X11VideoCompositor> compositor = std::make_shared<X11VideoCompositor>(sink);
    };

    void keepOutputsOfSlots();
    void drawLayer(xcb_render_picture_t target, const platform::Layer& layer,
                   const platform::Rect& rect, const SpanRegion& clip, const SpanRegion& videoClip);
    void drawVideo(xcb_render_picture_t target, const VideoSlot& slot);
    xcb_render_picture_t sourceFor(const std::shared_ptr<const X11PixmapLease>& lease);
    void fill(xcb_render_picture_t target, const platform::Color& color,
              const std::vector<xcb_rectangle_t>& rects, uint8_t op);

    X11Connection& x_;
    uint16_t height_ = 0;
    bool drewPicture_ = false;
    std::vector<VideoSlot> videos_;
    std::map<const platform::SampleBufferDisplayLayer*, VideoOutput> outputs_;
    std::shared_ptr<const X11PixmapLease> sourceLease_;
    xcb_render_picture_t source_ = 0;
};

}  // namespace desktop
