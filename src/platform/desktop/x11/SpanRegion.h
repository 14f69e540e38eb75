#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

namespace desktop {

// A shape that holds one run of pixels per row, as rounded rectangles and their
// intersections do. Turned into few rectangles (rows with the same run merge), it clips
// drawing inside the X server far more cheaply than a mask.
class SpanRegion {
public:
    struct Span {
        int32_t x0 = 0;
        int32_t x1 = 0;  // exclusive; empty when x1 <= x0
    };

    // The rounded rectangle in pixel coordinates (y downwards) inside a height-row canvas.
    static SpanRegion roundedRect(const platform::Rect& rect, double radius, int32_t height);

    // Keeps what both hold.
    SpanRegion intersected(const SpanRegion& other) const;
    bool empty() const;
    std::vector<xcb_rectangle_t> rectangles() const;
    // What this holds outside `inner`: up to two runs a row.
    std::vector<xcb_rectangle_t> rectanglesOutside(const SpanRegion& inner) const;

    const std::vector<Span>& rows() const { return rows_; }

private:
    std::vector<Span> rows_;
};

}  // namespace desktop
