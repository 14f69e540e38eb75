#include "platform/desktop/x11/X11VideoCompositor.h"

#include <xcb/xcb_renderutil.h>

#include <algorithm>

#include "platform/desktop/x11/X11CaptureFrame.h"
#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11LayerPainter.h"

namespace desktop {
namespace {

// Beyond this many rectangles one composite of their bounds costs less.
constexpr size_t mostRectangles = 16;

std::vector<xcb_rectangle_t> boundsOf(const std::vector<xcb_rectangle_t>& rects) {
    int left = INT16_MAX, top = INT16_MAX, right = INT16_MIN, bottom = INT16_MIN;
    for (const xcb_rectangle_t& r : rects) {
        left = std::min<int>(left, r.x);
        top = std::min<int>(top, r.y);
        right = std::max(right, r.x + r.width);
        bottom = std::max(bottom, r.y + r.height);
    }
    if (right <= left || bottom <= top) return {};
    return {{static_cast<int16_t>(left), static_cast<int16_t>(top),
             static_cast<uint16_t>(right - left), static_cast<uint16_t>(bottom - top)}};
}

// The part of `r` inside (0, 0, width, height); empty when none.
xcb_rectangle_t within(const xcb_rectangle_t& r, int width, int height) {
    const int left = std::max<int>(r.x, 0), top = std::max<int>(r.y, 0);
    const int right = std::min(r.x + r.width, width), bottom = std::min(r.y + r.height, height);
    if (right <= left || bottom <= top) return {0, 0, 0, 0};
    return {static_cast<int16_t>(left), static_cast<int16_t>(top),
            static_cast<uint16_t>(right - left), static_cast<uint16_t>(bottom - top)};
}

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
    const int width = std::min<int>(static_cast<int>(frame.width()), layout->rect.width);
    const int height = std::min<int>(static_cast<int>(frame.height()), layout->rect.height);
    const auto& damage = frame.damage();
    xcb_connection_t* c = connection_->get();
    for (const xcb_rectangle_t& changed :
         damage.size() > mostRectangles ? boundsOf(damage) : damage) {
        const xcb_rectangle_t r = within(changed, width, height);
        if (r.width == 0) continue;
        xcb_render_composite(c, XCB_RENDER_PICT_OP_SRC, source, XCB_NONE, target_,
                             static_cast<int16_t>(frame.x() + r.x),
                             static_cast<int16_t>(frame.y() + r.y), 0, 0,
                             static_cast<int16_t>(layout->rect.x + r.x),
                             static_cast<int16_t>(layout->rect.y + r.y), r.width, r.height);
    }
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
    }
    xcb_render_set_picture_clip_rectangles(
        c, target_, 0, 0, static_cast<uint32_t>(layout->clip.size()), layout->clip.data());
    return true;
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
    if (target_ != 0)
        discard(connection_->get(), xcb_render_free_picture_checked(connection_->get(), target_));
    target_ = 0;
    applied_ = nullptr;
}

void X11VideoCompositor::freeSource() {
    if (source_ != 0)
        discard(connection_->get(), xcb_render_free_picture_checked(connection_->get(), source_));
    source_ = 0;
    sourceLease_ = nullptr;
}

}  // namespace desktop
