#pragma once

#include <QRect>
#include <QRegion>

#include <memory>
#include <vector>

#include "platform/Geometry.h"

namespace platform {
class Layer;
class SampleBuffer;
class SampleBufferDisplayLayer;
}  // namespace platform

namespace desktop {

// Everything a panel's layer tree paints besides the captured pixels, and where those pixels
// show as captured. Two paints with equal looks differ only inside the picture's rectangle, so
// a buffer that holds this look needs only the picture redrawn. Main thread only.
class WaylandPanelLook {
public:
    // Takes the picture layer's latest frame once, so that the look and the paint agree on it.
    WaylandPanelLook(const platform::Layer& root, int width, int height);

    // A sublayer's frame (y upwards inside its superlayer) in image pixels (y downwards).
    static platform::Rect placed(const platform::Rect& parent, const platform::Rect& frame);
    // Frame pixels for one panel pixel: 1, or the output's scale when the frame is larger
    // than the layer by one factor on both sides (a window on a scaled output).
    static double outputScale(double frameWidth, double frameHeight, const platform::Rect& rect);

    const std::vector<double>& values() const { return values_; }
    QSize size() const { return {int(values_[0]), int(values_[1])}; }
    bool operator==(const WaylandPanelLook& other) const { return values_ == other.values_; }
    // The one video layer, drawn last and one frame pixel for one panel pixel; null when the
    // tree is not like that, and then every paint is whole.
    const platform::SampleBufferDisplayLayer* picture() const {
        return pictureLast_ && videos_ == 1 ? video_ : nullptr;
    }
    // The first video layer and the frame it showed when the look was taken.
    const platform::SampleBufferDisplayLayer* video() const { return video_; }
    const std::shared_ptr<platform::SampleBuffer>& sample() const { return sample_; }
    // Panel pixels the frame covers; within it, what shows the frame's pixels as they are,
    // and what corners, clips and borders touch.
    QRect pictureRect() const { return pictureRect_; }
    // Where the frame's first pixel shows, which may be outside the panel.
    QPoint pictureOrigin() const { return pictureOrigin_; }
    QRect plain() const { return plain_; }
    const QRegion& edges() const { return edges_; }

private:
    struct Shape {
        platform::Rect rect;
        double radius = 0;
    };
    void visit(const platform::Layer& layer, const platform::Rect& rect);
    void record(const platform::Layer& layer, const platform::Rect& rect);
    void takePicture(const platform::SampleBufferDisplayLayer& layer, const platform::Rect& rect);
    void measureEdges();

    std::vector<double> values_;
    std::vector<Shape> shapes_;  // clips and border insides around the layer being visited
    std::vector<Shape> pictureShapes_;
    const platform::SampleBufferDisplayLayer* video_ = nullptr;
    bool pictureLast_ = false;
    int videos_ = 0;
    std::shared_ptr<platform::SampleBuffer> sample_;
    QRect pictureRect_;
    QPoint pictureOrigin_;
    QRect plain_;
    QRegion edges_;
};

}  // namespace desktop
