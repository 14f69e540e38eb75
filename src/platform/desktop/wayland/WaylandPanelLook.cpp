#include "platform/desktop/wayland/WaylandPanelLook.h"

#include <algorithm>
#include <cmath>

#include "platform/Layer.h"
#include "platform/PixelBuffer.h"
#include "platform/SampleBufferDisplayLayer.h"

namespace desktop {
namespace {

void push(std::vector<double>& values, const platform::Color& color) {
    values.insert(values.end(), {color.red, color.green, color.blue, color.alpha});
}

bool whole(double value) {
    return value == std::floor(value);
}

// The pixels a rounded corner may touch, anti-aliasing included, at each corner of a shape.
QRegion corners(const platform::Rect& rect, double radius) {
    const int size = int(std::ceil(radius)) + 1;
    const int left = int(std::floor(rect.x));
    const int top = int(std::floor(rect.y));
    const int right = int(std::ceil(rect.x + rect.width)) - size;
    const int bottom = int(std::ceil(rect.y + rect.height)) - size;
    QRegion region;
    for (const QPoint at :
         {QPoint(left, top), QPoint(right, top), QPoint(left, bottom), QPoint(right, bottom)})
        region += QRect(at, QSize(size, size));
    return region;
}

}  // namespace

platform::Rect WaylandPanelLook::placed(const platform::Rect& parent, const platform::Rect& frame) {
    return {parent.x + frame.x, parent.y + parent.height - frame.y - frame.height, frame.width,
            frame.height};
}

double WaylandPanelLook::outputScale(double frameWidth, double frameHeight,
                                     const platform::Rect& rect) {
    const double sx = frameWidth / std::max(rect.width, 1.0);
    const double sy = frameHeight / std::max(rect.height, 1.0);
    return sx > 1.05 && std::abs(sx - sy) < 0.05 * sx ? sx : 1.0;
}

WaylandPanelLook::WaylandPanelLook(const platform::Layer& root, int width, int height) {
    values_ = {double(width), double(height)};
    visit(root, {0, 0, double(width), double(height)});
    if (picture() != nullptr) measureEdges();
}

void WaylandPanelLook::visit(const platform::Layer& layer, const platform::Rect& rect) {
    pictureLast_ = false;  // whatever comes after the picture is drawn over it
    record(layer, rect);
    const size_t depth = shapes_.size();
    if (layer.masksToBounds()) shapes_.push_back({rect, layer.cornerRadius()});
    if (const double width = layer.borderWidth(); width > 0 && layer.borderColor().alpha > 0)
        shapes_.push_back(
            {rect.insetBy(width, width), std::max(layer.cornerRadius() - width, 0.0)});
    if (const auto* video = dynamic_cast<const platform::SampleBufferDisplayLayer*>(&layer))
        takePicture(*video, rect);
    for (const auto& sublayer : layer.sublayers())
        visit(*sublayer, placed(rect, sublayer->frame()));
    shapes_.resize(depth);
}

void WaylandPanelLook::record(const platform::Layer& layer, const platform::Rect& rect) {
    values_.insert(values_.end(),
                   {rect.x, rect.y, rect.width, rect.height, layer.cornerRadius(),
                    double(layer.masksToBounds()), layer.borderWidth(),
                    double(layer.sublayers().size()), double(layer.backgroundColor().has_value())});
    push(values_, layer.borderColor());
    if (const auto background = layer.backgroundColor()) push(values_, *background);
}

// The frame's size belongs to the look: a frame of another size uncovers or covers pixels.
void WaylandPanelLook::takePicture(const platform::SampleBufferDisplayLayer& layer,
                                   const platform::Rect& rect) {
    if (++videos_ > 1) return;
    video_ = &layer;
    sample_ = layer.sampleBufferRenderer().lastSampleBuffer();
    const platform::PixelBuffer* pixels = sample_ ? sample_->imageBuffer() : nullptr;
    const double frameWidth = pixels ? double(pixels->width()) : 0;
    const double frameHeight = pixels ? double(pixels->height()) : 0;
    values_.insert(values_.end(), {-2, frameWidth, frameHeight});
    const bool aligned = whole(rect.x) && whole(rect.y) && whole(rect.width) &&
                         whole(rect.height) && pixels != nullptr &&
                         outputScale(frameWidth, frameHeight, rect) == 1.0;
    if (!aligned) return;
    // A layer larger than the panel, as in the middle of a resize, shows only its part inside.
    const QRect panel(0, 0, int(values_[0]), int(values_[1]));
    pictureOrigin_ = QPoint(int(rect.x), int(rect.y));
    pictureRect_ = QRect(int(rect.x), int(rect.y), int(std::min(frameWidth, rect.width)),
                         int(std::min(frameHeight, rect.height))) &
                   panel;
    pictureShapes_ = shapes_;
    pictureLast_ = true;
}

void WaylandPanelLook::measureEdges() {
    QRectF inside(pictureRect_);
    for (const Shape& shape : pictureShapes_)
        inside &= QRectF(shape.rect.x, shape.rect.y, shape.rect.width, shape.rect.height);
    const int left = int(std::ceil(inside.left()));
    const int top = int(std::ceil(inside.top()));
    plain_ = QRect(left, top, std::max(int(std::floor(inside.right())) - left, 0),
                   std::max(int(std::floor(inside.bottom())) - top, 0));
    edges_ = QRegion(pictureRect_) - QRegion(plain_);
    for (const Shape& shape : pictureShapes_)
        if (shape.radius > 0) edges_ += corners(shape.rect, shape.radius) & pictureRect_;
}

}  // namespace desktop
