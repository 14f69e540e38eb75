#pragma once

#include <QPoint>

#include <cstddef>
#include <cstdint>
#include <vector>

class QImage;

namespace desktop {

class WaylandPanelLook;

// The picture's corners and edges, where masks and borders blend it with what surrounds it.
// Each colour channel there is a fixed mix of the captured one and the surroundings, so two
// whole paints of a look, with the picture black and then white, give every such pixel for
// any frame without drawing the layers again. Main thread only.
class WaylandPictureEdges {
public:
    bool measuredFor(const WaylandPanelLook& look) const;
    void measure(const WaylandPanelLook& look, const QImage& dark, const QImage& light);
    // The frame's pixel (0, 0) shows at origin.
    void blend(QImage& target, const uint8_t* frame, size_t bytesPerRow, QPoint origin) const;

private:
    struct Pixel {
        QPoint at;
        uint32_t dark;
        uint32_t light;
    };
    std::vector<double> values_;
    std::vector<Pixel> pixels_;
};

}  // namespace desktop
