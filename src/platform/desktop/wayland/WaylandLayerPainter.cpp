#include "platform/desktop/wayland/WaylandLayerPainter.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "platform/Layer.h"
#include "platform/PixelBuffer.h"
#include "platform/SampleBufferDisplayLayer.h"

namespace desktop {
namespace {

QColor qcolor(const platform::Color& color) {
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue),
                            float(std::clamp(color.alpha, 0.0, 1.0)));
}

// A sublayer's frame (y upwards inside its superlayer) in image pixels (y downwards).
platform::Rect placed(const platform::Rect& parent, const platform::Rect& frame) {
    return {parent.x + frame.x, parent.y + parent.height - frame.y - frame.height, frame.width,
            frame.height};
}

QPainterPath rounded(const platform::Rect& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(rect.x, rect.y, rect.width, rect.height), radius, radius);
    return path;
}

// Frame pixels for one panel pixel: 1, or the output's scale when the frame is larger than
// the layer by one factor on both sides (a window on a scaled output).
double outputScale(const QImage& frame, const platform::Rect& rect) {
    const double sx = frame.width() / std::max(rect.width, 1.0);
    const double sy = frame.height() / std::max(rect.height, 1.0);
    return sx > 1.05 && std::abs(sx - sy) < 0.05 * sx ? sx : 1.0;
}

}  // namespace

void WaylandLayerPainter::paint(QImage& target, const platform::Layer& root) {
    videos_.clear();
    drewPicture_ = false;
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(target.rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    drawLayer(painter, root, {0, 0, double(target.width()), double(target.height())});
}

void WaylandLayerPainter::drawLayer(QPainter& painter, const platform::Layer& layer,
                                    const platform::Rect& rect) {
    painter.save();
    const QPainterPath shape = rounded(rect, layer.cornerRadius());
    if (layer.masksToBounds()) painter.setClipPath(shape, Qt::IntersectClip);
    if (const auto background = layer.backgroundColor(); background && background->alpha > 0)
        painter.fillPath(shape, qcolor(*background));
    if (const auto* video = dynamic_cast<const platform::SampleBufferDisplayLayer*>(&layer))
        drawVideo(painter, *video, rect);
    for (const auto& sublayer : layer.sublayers())
        drawLayer(painter, *sublayer, placed(rect, sublayer->frame()));
    const double width = layer.borderWidth();
    if (width > 0 && layer.borderColor().alpha > 0) {
        const platform::Rect inner = rect.insetBy(width, width);
        const QPainterPath ring =
            shape.subtracted(rounded(inner, std::max(layer.cornerRadius() - width, 0.0)));
        painter.fillPath(ring, qcolor(layer.borderColor()));
    }
    painter.restore();
}

void WaylandLayerPainter::drawVideo(QPainter& painter,
                                    const platform::SampleBufferDisplayLayer& layer,
                                    const platform::Rect& rect) {
    videos_.push_back(&layer);
    const auto sample = layer.sampleBufferRenderer().lastSampleBuffer();
    platform::PixelBuffer* pixels = sample ? sample->imageBuffer() : nullptr;
    if (pixels == nullptr || pixels->lockBaseAddress(platform::PixelBuffer::readOnly) != 0) return;
    if (const uint8_t* base = pixels->baseAddress()) {
        // The captured alpha is not always meaningful: the picture is opaque.
        const QImage frame(base, int(pixels->width()), int(pixels->height()),
                           qsizetype(pixels->bytesPerRow()), QImage::Format_RGB32);
        const double scale = outputScale(frame, rect);
        const double width = std::min(frame.width() / scale, rect.width);
        const double height = std::min(frame.height() / scale, rect.height);
        painter.drawImage(QRectF(rect.x, rect.y, width, height), frame,
                          QRectF(0, 0, width * scale, height * scale));
        drewPicture_ = true;
    }
    pixels->unlockBaseAddress(platform::PixelBuffer::readOnly);
}

}  // namespace desktop
