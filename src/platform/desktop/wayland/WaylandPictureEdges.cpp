#include "platform/desktop/wayland/WaylandPictureEdges.h"

#include <QImage>

#include "platform/desktop/wayland/WaylandPanelLook.h"

namespace desktop {
namespace {

// Between the pixel over a black picture and over a white one, as far as the captured
// channel goes; the alpha is the one over any opaque picture.
uint32_t mix(uint32_t dark, uint32_t light, uint32_t captured) {
    uint32_t result = light & 0xff000000u;
    for (const int shift : {0, 8, 16}) {
        const uint32_t low = (dark >> shift) & 0xff;
        const uint32_t high = (light >> shift) & 0xff;
        const uint32_t value = (captured >> shift) & 0xff;
        result |= (low + ((high - low) * value + 127) / 255) << shift;
    }
    return result;
}

uint32_t raw(const QImage& image, int x, int y) {
    return reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x];
}

}  // namespace

bool WaylandPictureEdges::measuredFor(const WaylandPanelLook& look) const {
    return values_ == look.values();
}

void WaylandPictureEdges::measure(const WaylandPanelLook& look, const QImage& dark,
                                  const QImage& light) {
    values_ = look.values();
    pixels_.clear();
    for (const QRect& rect : look.edges())
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                pixels_.push_back({{x, y}, raw(dark, x, y), raw(light, x, y)});
}

void WaylandPictureEdges::blend(QImage& target, const uint8_t* frame, size_t bytesPerRow,
                                QPoint origin) const {
    uint8_t* bits = target.bits();  // once: each call may check for sharing
    const auto targetBytesPerRow = size_t(target.bytesPerLine());
    for (const Pixel& pixel : pixels_) {
        const QPoint in = pixel.at - origin;
        const auto* from = frame + size_t(in.y()) * bytesPerRow + size_t(in.x()) * 4;
        auto* to = bits + size_t(pixel.at.y()) * targetBytesPerRow + size_t(pixel.at.x()) * 4;
        *reinterpret_cast<uint32_t*>(to) =
            mix(pixel.dark, pixel.light, *reinterpret_cast<const uint32_t*>(from));
    }
}

}  // namespace desktop
