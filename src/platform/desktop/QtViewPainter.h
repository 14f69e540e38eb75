#pragma once

class QPainter;
class QRectF;
class QPainterPath;

namespace platform {
class View;
class Layer;
}  // namespace platform

namespace desktop {

class QtLayerAnimations;

// Draws a window's view tree with QPainter: each view's backing layer (background,
// rounded corners, clipping, border, animated scale and opacity), glass, labels and button
// titles, subviews in order on top. Views are placed from the bottom left, as the logic
// lays them out; the painter's y grows downwards.
class QtViewPainter {
public:
    // `translucent`: the window has alpha, so glass may let the desktop show through.
    QtViewPainter(const QtLayerAnimations& animations, double now, bool translucent)
        : animations_(animations), now_(now), translucent_(translucent) {}

    void paint(QPainter& painter, const platform::View& root) const;

private:
    void paintView(QPainter& painter, const platform::View& view, const QRectF& rect) const;
    void applyAnimation(QPainter& painter, const platform::Layer& layer, const QRectF& rect) const;
    void paintContent(QPainter& painter, const platform::View& view, const QRectF& rect,
                      const QPainterPath& shape) const;
    static void paintBorder(QPainter& painter, const platform::Layer& layer, const QRectF& rect);

    const QtLayerAnimations& animations_;
    double now_;
    bool translucent_;
};

}  // namespace desktop
