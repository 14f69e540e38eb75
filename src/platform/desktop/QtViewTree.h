#pragma once

#include <QPointF>
#include <QRectF>

#include <memory>

#include "platform/Geometry.h"

namespace platform {
class View;
}

namespace desktop {

// Where the views of a window lie in its pixels (y downwards), while the logic places
// them from the bottom left of their superview.
struct QtViewTree {
    // A subview's frame inside its superview's rectangle.
    static QRectF placed(const QRectF& parent, const platform::Rect& frame);
    // The frontmost, deepest view under the point; a point outside a view reaches none of
    // its subviews. Nothing outside the root.
    static std::shared_ptr<platform::View> viewAt(const std::shared_ptr<platform::View>& root,
                                                  const QPointF& point);
};

}  // namespace desktop
