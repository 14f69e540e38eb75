#pragma once

#include <vector>

#include "platform/Geometry.h"

class QImage;
class QPainter;
class QPainterPath;

namespace platform {
class Layer;
class SampleBufferDisplayLayer;
}  // namespace platform

namespace desktop {

// Draws a panel's layer tree into an image with QPainter: background colours, rounded
// masks, borders over the picture, and each video layer's latest frame one pixel for one
// pixel from its top-left corner. Main thread only.
class WaylandLayerPainter {
public:
    // Everything, on a cleared (transparent) image.
    void paint(QImage& target, const platform::Layer& root);
    // The video layers of the last paint, whose frames ask for the next one.
    const std::vector<const platform::SampleBufferDisplayLayer*>& videoLayers() const {
        return videos_;
    }
    // Whether a captured picture was drawn by the last paint.
    bool drewPicture() const { return drewPicture_; }

private:
    void drawLayer(QPainter& painter, const platform::Layer& layer, const platform::Rect& rect);
    void drawVideo(QPainter& painter, const platform::SampleBufferDisplayLayer& layer,
                   const platform::Rect& rect);

    std::vector<const platform::SampleBufferDisplayLayer*> videos_;
    bool drewPicture_ = false;
};

}  // namespace desktop
