#include "platform/desktop/x11/X11VideoCompositor.h"

#include <xcb/xcb_renderutil.h>

#include <algorithm>
#include <cstdint>

#include "platform/desktop/x11/X11CaptureFrame.h"
#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11LayerPainter.h"

namespace desktop {
namespace {

void discard(xcb_connection_t* c, xcb_void_cookie_t cookie) {
    xcb_discard_reply(c, cookie.sequence);
}

}  // namespace

X11VideoCompositor::~X11VideoCompositor() {
    freeTarget();
    freeSource();
    if (connection_ != nullptr) connection_->flush();
}

bool X11VideoCompositor::draw(const X11CaptureFrame& frame) {
    const std::shared_ptr<const X11VideoSink::Layout> layout = sink_->layout();
    if (layout == nullptr) return false;
    useConnection(frame.captureConnection());
    if (!prepareTarget(layout)) return false;
    const xcb_render_picture_t source = sourceFor(frame.lease());
    if (source == 0) return false;
    const auto width = static_cast<uint16_t>(std::min<int>(frame.width(), layout->rect.width));
    const auto height = static_cast<uint16_t>(std::min<int>(frame.height(), layout->rect.height));
    const auto dx = static_cast<int16_t>(layout->rect.x - frame.x());
    const auto dy = static_cast<int16_t>(layout->rect.y - frame.y());
    placeShape(frame.x() - layout->rect.x, frame.y() - layout->rect.y);
    xcb_connection_t* c = connection_->get();
    xcb_xfixes_intersect_region(c, frame.changed(), shape_, clip_);
    xcb_xfixes_set_picture_clip_region(c, target_, clip_, dx, dy);
    xcb_render_composite(c, XCB_RENDER_PICT_OP_SRC, source, XCB_NONE, target_, frame.x(), frame.y(),
                         0, 0, layout->rect.x, layout->rect.y, width, height);
    return true;  // the capture thread flushes once after its deliveries
}

// A stream made anew brings a connection of its own; what was made on the old one goes.
void X11VideoCompositor::useConnection(const std::shared_ptr<X11Connection>& connection) {
    if (connection == connection_) return;
    freeTarget();
    freeSource();
    if (connection_ != nullptr) connection_->flush();
    connection_ = connection;
}

// The panel's clip is set on our picture of it once for each layout.
bool X11VideoCompositor::prepareTarget(const std::shared_ptr<const X11VideoSink::Layout>& layout) {
    if (layout == applied_ && target_ != 0) return true;
    xcb_connection_t* c = connection_->get();
    if (applied_ == nullptr || applied_->window != layout->window ||
        applied_->visual != layout->visual)
        freeTarget();
    applied_ = layout;
    if (target_ == 0) {
        const auto* format =
            xcb_render_util_find_visual_format(xcb_render_util_query_formats(c), layout->visual);
        if (format == nullptr) return false;
        target_ = xcb_generate_id(c);
        xcb_render_create_picture(c, target_, layout->window, format->format, 0, nullptr);
        shape_ = xcb_generate_id(c);
        xcb_xfixes_create_region(c, shape_, 0, nullptr);
        clip_ = xcb_generate_id(c);
        xcb_xfixes_create_region(c, clip_, 0, nullptr);
    }
    xcb_xfixes_set_region(c, shape_, static_cast<uint32_t>(layout->clip.size()),
                          layout->clip.data());
    shapeX_ = shapeY_ = 0;  // the clip is in the window's pixels
    return true;
}

// The layout's clip moved to where the picture's origin lies in the pixmap, anew only when
// the window's margins or the picture's place changed.
void X11VideoCompositor::placeShape(int16_t x, int16_t y) {
    if (x == shapeX_ && y == shapeY_) return;
    xcb_xfixes_translate_region(connection_->get(), shape_, static_cast<int16_t>(x - shapeX_),
                                static_cast<int16_t>(y - shapeY_));
    shapeX_ = x;
    shapeY_ = y;
}

// One picture per named pixmap, as the panel's own painter keeps it.
xcb_render_picture_t X11VideoCompositor::sourceFor(
    const std::shared_ptr<const X11PixmapLease>& lease) {
    if (lease == sourceLease_) return source_;
    freeSource();
    sourceLease_ = lease;
    const xcb_render_pictformat_t format = pictureFormatForDepth(*connection_, lease->depth());
    if (format == 0) return 0;
    source_ = xcb_generate_id(connection_->get());
    xcb_render_create_picture(connection_->get(), source_, lease->pixmap(), format, 0, nullptr);
    return source_;
}

// The panel may have destroyed its window, and our picture with it: the error is dropped.
void X11VideoCompositor::freeTarget() {
    xcb_connection_t* c = connection_ != nullptr ? connection_->get() : nullptr;
    if (target_ != 0) discard(c, xcb_render_free_picture_checked(c, target_));
    if (shape_ != 0) discard(c, xcb_xfixes_destroy_region_checked(c, shape_));
    if (clip_ != 0) discard(c, xcb_xfixes_destroy_region_checked(c, clip_));
    target_ = shape_ = clip_ = 0;
    applied_ = nullptr;
}

void X11VideoCompositor::freeSource() {
    if (source_ != 0)
        discard(connection_->get(), xcb_render_free_picture_checked(connection_->get(), source_));
    source_ = 0;
    sourceLease_ = nullptr;
}

}  // namespace desktop
