#include "platform/desktop/x11/X11LayerPainter.h"

#include <xcb/xcb_renderutil.h>

#include <algorithm>

#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11WindowFrame.h"

namespace desktop {
namespace {

uint16_t channel(double value, double alpha) {
    return static_cast<uint16_t>(std::clamp(value * alpha, 0.0, 1.0) * 0xffff + 0.5);
}

// Premultiplied, as XRender wants it.
xcb_render_color_t renderColor(const platform::Color& color) {
    const double a = std::clamp(color.alpha, 0.0, 1.0);
    return {channel(color.red, a), channel(color.green, a), channel(color.blue, a), channel(1, a)};
}

// A sublayer's frame (y upwards inside its superlayer) in window pixels (y downwards).
platform::Rect placed(const platform::Rect& parent, const platform::Rect& frame) {
    return {parent.x + frame.x, parent.y + parent.height - frame.y - frame.height, frame.width,
            frame.height};
}

}  // namespace

xcb_render_pictformat_t pictureFormatForDepth(X11Connection& x, uint8_t depth) {
    const xcb_render_query_pict_formats_reply_t* formats = xcb_render_util_query_formats(x.get());
    const auto standard = depth == 32 ? XCB_PICT_STANDARD_ARGB_32 : XCB_PICT_STANDARD_RGB_24;
    const xcb_render_pictforminfo_t* info = xcb_render_util_find_standard_format(formats, standard);
    return info != nullptr ? info->id : 0;
}

X11LayerPainter::X11LayerPainter(X11Connection& connection) : x_(connection) {}

X11LayerPainter::~X11LayerPainter() {
    disarmOutputs();
    if (source_ != 0) xcb_render_free_picture(x_.get(), source_);
}

void X11LayerPainter::paint(xcb_render_picture_t target, const platform::Layer& root,
                            uint16_t width, uint16_t height) {
    height_ = height;
    drewPicture_ = false;
    videos_.clear();
    const platform::Rect whole{0, 0, double(width), double(height)};
    const xcb_rectangle_t all{0, 0, width, height};
    fill(target, platform::Color::clear(), {all}, XCB_RENDER_PICT_OP_SRC);
    const SpanRegion everything = SpanRegion::roundedRect(whole, 0, height);
    drawLayer(target, root, {0, 0, double(width), double(height)}, everything, everything);
    keepOutputsOfSlots();
}

// A layer that left the tree no longer gets its frames drawn from its capture's thread.
void X11LayerPainter::keepOutputsOfSlots() {
    for (auto it = outputs_.begin(); it != outputs_.end();) {
        const bool kept = std::any_of(videos_.begin(), videos_.end(), [&](const VideoSlot& slot) {
            return slot.layer == it->first;
        });
        if (!kept) it->second.sink->disarm();
        it = kept ? std::next(it) : outputs_.erase(it);
    }
    for (const VideoSlot& slot : videos_)
        outputs_.try_emplace(slot.layer);
}

void X11LayerPainter::armOutputs(xcb_window_t window, xcb_visualid_t visual) {
    for (const VideoSlot& slot : videos_) {
        const auto found = outputs_.find(slot.layer);
        if (found == outputs_.end()) continue;
        // Whole pixels as drawVideo places the picture.
        const xcb_rectangle_t rect{
            static_cast<int16_t>(slot.rect.x), static_cast<int16_t>(slot.rect.y),
            static_cast<uint16_t>(slot.rect.width), static_cast<uint16_t>(slot.rect.height)};
        found->second.sink->arm({window, visual, rect, slot.clip});
    }
}

void X11LayerPainter::disarmOutputs() {
    for (auto& [layer, output] : outputs_)
        output.sink->disarm();
}

std::shared_ptr<X11VideoCompositor> X11LayerPainter::compositorFor(
    const platform::SampleBufferDisplayLayer* layer) const {
    const auto found = outputs_.find(layer);
    return found != outputs_.end() ? found->second.compositor : nullptr;
}

void X11LayerPainter::drawLayer(xcb_render_picture_t target, const platform::Layer& layer,
                                const platform::Rect& rect, const SpanRegion& clip,
                                const SpanRegion& videoClip) {
    const SpanRegion shape = SpanRegion::roundedRect(rect, layer.cornerRadius(), height_);
    const SpanRegion inside = layer.masksToBounds() ? clip.intersected(shape) : clip;
    SpanRegion insideVideo = layer.masksToBounds() ? videoClip.intersected(shape) : videoClip;
    if (const auto background = layer.backgroundColor(); background && background->alpha > 0)
        fill(target, *background, clip.intersected(shape).rectangles(), XCB_RENDER_PICT_OP_OVER);
    if (const auto* video = dynamic_cast<const platform::SampleBufferDisplayLayer*>(&layer)) {
        videos_.push_back({video, rect, insideVideo.rectangles()});
        drawVideo(target, videos_.back());
    }
    const double width = layer.borderWidth();
    const bool border = width > 0 && layer.borderColor().alpha > 0;
    const SpanRegion hole = SpanRegion::roundedRect(
        rect.insetBy(width, width), std::max(layer.cornerRadius() - width, 0.0), height_);
    if (border) insideVideo = insideVideo.intersected(hole);  // the border lies over the picture
    for (const auto& sublayer : layer.sublayers())
        drawLayer(target, *sublayer, placed(rect, sublayer->frame()), inside, insideVideo);
    if (border)
        fill(target, layer.borderColor(), clip.intersected(shape).rectanglesOutside(hole),
             XCB_RENDER_PICT_OP_OVER);
}

void X11LayerPainter::paintVideo(xcb_render_picture_t target) {
    for (const VideoSlot& slot : videos_)
        drawVideo(target, slot);
}

std::vector<const platform::SampleBufferDisplayLayer*> X11LayerPainter::videoLayers() const {
    std::vector<const platform::SampleBufferDisplayLayer*> layers;
    for (const VideoSlot& slot : videos_)
        layers.push_back(slot.layer);
    return layers;
}

// The latest frame, one pixel for one pixel from the layer's top-left corner.
void X11LayerPainter::drawVideo(xcb_render_picture_t target, const VideoSlot& slot) {
    if (slot.clip.empty()) return;
    const auto sample = slot.layer->sampleBufferRenderer().lastSampleBuffer();
    const auto* frame =
        sample ? dynamic_cast<const X11WindowFrame*>(sample->imageBuffer()) : nullptr;
    if (frame == nullptr) return;
    const xcb_render_picture_t source = sourceFor(frame->lease());
    if (source == 0) return;
    drewPicture_ = true;
    xcb_render_set_picture_clip_rectangles(
        x_.get(), target, 0, 0, static_cast<uint32_t>(slot.clip.size()), slot.clip.data());
    const auto width = static_cast<uint16_t>(std::min<double>(frame->width(), slot.rect.width));
    const auto height = static_cast<uint16_t>(std::min<double>(frame->height(), slot.rect.height));
    xcb_render_composite(x_.get(), XCB_RENDER_PICT_OP_SRC, source, XCB_NONE, target, frame->x(),
                         frame->y(), 0, 0, static_cast<int16_t>(slot.rect.x),
                         static_cast<int16_t>(slot.rect.y), width, height);
    const uint32_t none = XCB_NONE;
    xcb_render_change_picture(x_.get(), target, XCB_RENDER_CP_CLIP_MASK, &none);
}

// One picture per named pixmap; a new pixmap (after a resize or a map) gets a new one.
xcb_render_picture_t X11LayerPainter::sourceFor(
    const std::shared_ptr<const X11PixmapLease>& lease) {
    if (lease == sourceLease_) return source_;
    if (source_ != 0) xcb_render_free_picture(x_.get(), source_);
    source_ = 0;
    sourceLease_ = lease;
    const xcb_render_pictformat_t format = pictureFormatForDepth(x_, lease->depth());
    if (format == 0) return 0;
    source_ = xcb_generate_id(x_.get());
    xcb_render_create_picture(x_.get(), source_, lease->pixmap(), format, 0, nullptr);
    return source_;
}

void X11LayerPainter::fill(xcb_render_picture_t target, const platform::Color& color,
                           const std::vector<xcb_rectangle_t>& rects, uint8_t op) {
    if (rects.empty()) return;
    xcb_render_fill_rectangles(x_.get(), op, target, renderColor(color),
                               static_cast<uint32_t>(rects.size()), rects.data());
}

}  // namespace desktop
