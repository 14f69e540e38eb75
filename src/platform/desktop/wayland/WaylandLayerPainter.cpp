#include "platform/desktop/wayland/WaylandLayerPainter.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Layer.h"
#include "platform/PixelBuffer.h"
#include "platform/SampleBufferDisplayLayer.h"
#include "platform/desktop/wayland/WaylandPanelLook.h"

namespace desktop {
namespace {

QColor qcolor(const platform::Color& color) {
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue),
                            float(std::clamp(color.alpha, 0.0, 1.0)));
}

QPainterPath rounded(const platform::Rect& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(rect.x, rect.y, rect.width, rect.height), radius, radius);
    return path;
}

// The captured alpha is not always meaningful: the picture is opaque.
void copyOpaque(QImage& target, const QRect& area, const uint8_t* source, size_t bytesPerRow) {
    uint8_t* bits = target.bits();  // once: each call may check for sharing
    const auto targetBytesPerRow = size_t(target.bytesPerLine());
    for (int y = 0; y < area.height(); ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(source + size_t(y) * bytesPerRow);
        auto* to = reinterpret_cast<uint32_t*>(bits + size_t(area.top() + y) * targetBytesPerRow) +
                   area.left();
        for (int x = 0; x < area.width(); ++x)
            to[x] = from[x] | 0xff000000u;
    }
}

// How much of an opaque picture shows through a pixel, from the pixel over a black and
// over a white picture; nothing when the mix is not one of the picture and a cover.
std::optional<uint32_t> coverThrough(uint32_t dark, uint32_t light) {
    if ((light >> 24) != 255) return std::nullopt;
    const auto through = [&](int shift) {
        return int((light >> shift) & 0xff) - int((dark >> shift) & 0xff);
    };
    const int green = through(8);
    if (green < 0 || std::abs(through(0) - green) > 1 || std::abs(through(16) - green) > 1)
        return std::nullopt;
    return uint32_t(green);
}

}  // namespace

void WaylandLayerPainter::paint(QImage& target, const platform::Layer& root,
                                const WaylandPanelLook& look) {
    look_ = &look;
    QPainter painter(&target);
    paintAll(painter, target, root);
    look_ = nullptr;
}

bool WaylandLayerPainter::paintPicture(QImage& target, const platform::Layer& root,
                                       const WaylandPanelLook& look) {
    platform::PixelBuffer* pixels = look.picture() ? look.sample()->imageBuffer() : nullptr;
    if (pixels == nullptr) return false;
    if (!edges_.measuredFor(look)) measureEdges(target, root, look);
    if (pixels->lockBaseAddress(platform::PixelBuffer::readOnly) != 0) return false;
    const uint8_t* base = pixels->baseAddress();
    if (base != nullptr) {
        const QPoint from = look.plain().topLeft() - look.pictureOrigin();
        copyOpaque(target, look.plain(),
                   base + size_t(from.y()) * pixels->bytesPerRow() + size_t(from.x()) * 4,
                   pixels->bytesPerRow());
        edges_.blend(target, base, pixels->bytesPerRow(), look.pictureOrigin());
    }
    pixels->unlockBaseAddress(platform::PixelBuffer::readOnly);
    videos_ = {look.picture()};
    drewPicture_ = base != nullptr;
    return drewPicture_;
}

// Over a black picture a pixel is what lies on top; over a white one it also shows how much
// of the picture comes through.
bool WaylandLayerPainter::paintOverPicture(QImage& target, const platform::Layer& root,
                                           const WaylandPanelLook& look) {
    if (look.picture() == nullptr) return false;
    QImage light(target.size(), QImage::Format_ARGB32_Premultiplied);
    paintBlackAndWhite(target, light, root, look);
    const QRect area = look.pictureRect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* over = reinterpret_cast<uint32_t*>(target.scanLine(y));
        const auto* white = reinterpret_cast<const uint32_t*>(light.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const auto through = coverThrough(over[x], white[x]);
            if (!through) return false;
            over[x] = ((255u - *through) << 24) | (over[x] & 0xffffffu);
        }
    }
    return true;
}

void WaylandLayerPainter::measureEdges(const QImage& target, const platform::Layer& root,
                                       const WaylandPanelLook& look) {
    QImage dark(target.size(), QImage::Format_ARGB32_Premultiplied);
    QImage light(target.size(), QImage::Format_ARGB32_Premultiplied);
    paintBlackAndWhite(dark, light, root, look);
    edges_.measure(look, dark, light);
}

void WaylandLayerPainter::paintBlackAndWhite(QImage& dark, QImage& light,
                                             const platform::Layer& root,
                                             const WaylandPanelLook& look) {
    solid_ = Qt::black;
    paint(dark, root, look);
    solid_ = Qt::white;
    paint(light, root, look);
    solid_.reset();
}

void WaylandLayerPainter::paintAll(QPainter& painter, const QImage& target,
                                   const platform::Layer& root) {
    videos_.clear();
    drewPicture_ = false;
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
        drawLayer(painter, *sublayer, WaylandPanelLook::placed(rect, sublayer->frame()));
    const double width = layer.borderWidth();
    if (width > 0 && layer.borderColor().alpha > 0) {
        const platform::Rect inner = rect.insetBy(width, width);
        const QPainterPath ring =
            shape.subtracted(rounded(inner, std::max(layer.cornerRadius() - width, 0.0)));
        painter.fillPath(ring, qcolor(layer.borderColor()));
    }
    painter.restore();
}

// The look's frame for the video layer it measured, so that both agree on the frame's size.
void WaylandLayerPainter::drawVideo(QPainter& painter,
                                    const platform::SampleBufferDisplayLayer& layer,
                                    const platform::Rect& rect) {
    videos_.push_back(&layer);
    const auto sample = look_ != nullptr && look_->video() == &layer
                            ? look_->sample()
                            : layer.sampleBufferRenderer().lastSampleBuffer();
    platform::PixelBuffer* pixels = sample ? sample->imageBuffer() : nullptr;
    if (pixels == nullptr) return;
    const double scale =
        WaylandPanelLook::outputScale(double(pixels->width()), double(pixels->height()), rect);
    const QRectF shown(rect.x, rect.y, std::min(pixels->width() / scale, rect.width),
                       std::min(pixels->height() / scale, rect.height));
    if (solid_) {
        painter.fillRect(shown, *solid_);
        return;
    }
    if (pixels->lockBaseAddress(platform::PixelBuffer::readOnly) != 0) return;
    if (const uint8_t* base = pixels->baseAddress()) {
        // Copied as opaque pixels, whatever the captured alpha says.
        const QImage frame = QImage(base, int(pixels->width()), int(pixels->height()),
                                    qsizetype(pixels->bytesPerRow()), QImage::Format_RGB32)
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        painter.drawImage(shown, frame,
                          QRectF(0, 0, shown.width() * scale, shown.height() * scale));
        drewPicture_ = true;
    }
    pixels->unlockBaseAddress(platform::PixelBuffer::readOnly);
}

}  // namespace desktop
