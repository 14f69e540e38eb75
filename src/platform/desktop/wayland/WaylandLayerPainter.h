#pragma once

#include <QColor>

#include <optional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/desktop/wayland/WaylandPictureEdges.h"

class QImage;
class QPainter;

namespace platform {
class Layer;
class SampleBufferDisplayLayer;
}  // namespace platform

namespace desktop {

class WaylandPanelLook;

// Draws a panel's layer tree into an image with QPainter: background colours, rounded
// masks, borders over the picture, and each video layer's latest frame one pixel for one
// pixel from its top-left corner. Main thread only.
class WaylandLayerPainter {
public:
    // Everything, on a cleared (transparent) image.
    void paint(QImage& target, const platform::Layer& root, const WaylandPanelLook& look);
    // Only the picture, into an image that holds a whole paint of an equal look: the frame's
    // rows copied where they show as captured, the corners and edges painted through the
    // layers once for each look. False, with nothing drawn, when the look has no such picture.
    bool paintPicture(QImage& target, const platform::Layer& root, const WaylandPanelLook& look);
    // Everything but the picture, for a picture shown from below: transparent where it shows
    // as captured, and over its edges what corners and borders lay on it. False when some of
    // it would show partly transparent, which nothing laid on top can do.
    bool paintOverPicture(QImage& target, const platform::Layer& root,
                          const WaylandPanelLook& look);
    // The video layers of the last paint, whose frames ask for the next one.
    const std::vector<const platform::SampleBufferDisplayLayer*>& videoLayers() const {
        return videos_;
    }
    // Whether a captured picture was drawn by the last paint.
    bool drewPicture() const { return drewPicture_; }

private:
    void measureEdges(const QImage& target, const platform::Layer& root,
                      const WaylandPanelLook& look);
    // The whole look with the picture all black, and all white.
    void paintBlackAndWhite(QImage& dark, QImage& light, const platform::Layer& root,
                            const WaylandPanelLook& look);
    void paintAll(QPainter& painter, const QImage& target, const platform::Layer& root);
    void drawLayer(QPainter& painter, const platform::Layer& layer, const platform::Rect& rect);
    void drawVideo(QPainter& painter, const platform::SampleBufferDisplayLayer& layer,
                   const platform::Rect& rect);

    std::vector<const platform::SampleBufferDisplayLayer*> videos_;
    bool drewPicture_ = false;
    const WaylandPanelLook* look_ = nullptr;  // during a paint
    std::optional<QColor> solid_;             // drawn instead of the picture
    WaylandPictureEdges edges_;
};

}  // namespace desktop
