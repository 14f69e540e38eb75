#include "platform/desktop/x11/SpanRegion.h"

#include <algorithm>
#include <cmath>

namespace desktop {
namespace {

// How far the rounded edge lies inside the straight one, at a row dy from the corner's
// centre (pixel centres).
double cornerInset(double radius, double dy) {
    if (dy <= 0) return 0;
    const double inside = radius * radius - dy * dy;
    return radius - (inside > 0 ? std::sqrt(inside) : 0);
}

void appendRect(std::vector<xcb_rectangle_t>& out, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    if (x1 <= x0 || y1 <= y0) return;
    out.push_back({static_cast<int16_t>(x0), static_cast<int16_t>(y0),
                   static_cast<uint16_t>(x1 - x0), static_cast<uint16_t>(y1 - y0)});
}

// Merges equal runs of consecutive rows into one rectangle each.
void appendRuns(std::vector<xcb_rectangle_t>& out, const std::vector<SpanRegion::Span>& rows) {
    size_t start = 0;
    for (size_t y = 1; y <= rows.size(); ++y) {
        if (y < rows.size() && rows[y].x0 == rows[start].x0 && rows[y].x1 == rows[start].x1)
            continue;
        appendRect(out, rows[start].x0, rows[start].x1, int32_t(start), int32_t(y));
        start = y;
    }
}

}  // namespace

SpanRegion SpanRegion::roundedRect(const platform::Rect& rect, double radius, int32_t height) {
    SpanRegion region;
    region.rows_.resize(static_cast<size_t>(std::max(height, 0)));
    const double r = std::clamp(radius, 0.0, std::min(rect.width, rect.height) / 2);
    for (int32_t y = 0; y < height; ++y) {
        const double centre = y + 0.5;
        if (centre < rect.minY() || centre >= rect.maxY()) continue;
        const double fromTop = rect.minY() + r - centre;
        const double fromBottom = centre - (rect.maxY() - r);
        const double inset = cornerInset(r, std::max(fromTop, fromBottom));
        region.rows_[size_t(y)] = {static_cast<int32_t>(std::lround(rect.minX() + inset)),
                                   static_cast<int32_t>(std::lround(rect.maxX() - inset))};
    }
    return region;
}

SpanRegion SpanRegion::intersected(const SpanRegion& other) const {
    SpanRegion region;
    region.rows_.resize(std::min(rows_.size(), other.rows_.size()));
    for (size_t y = 0; y < region.rows_.size(); ++y)
        region.rows_[y] = {std::max(rows_[y].x0, other.rows_[y].x0),
                           std::min(rows_[y].x1, other.rows_[y].x1)};
    return region;
}

bool SpanRegion::empty() const {
    return std::none_of(rows_.begin(), rows_.end(), [](const Span& s) { return s.x1 > s.x0; });
}

std::vector<xcb_rectangle_t> SpanRegion::rectangles() const {
    std::vector<xcb_rectangle_t> out;
    appendRuns(out, rows_);
    return out;
}

std::vector<xcb_rectangle_t> SpanRegion::rectanglesOutside(const SpanRegion& inner) const {
    std::vector<Span> left(rows_.size());
    std::vector<Span> right(rows_.size());
    for (size_t y = 0; y < rows_.size(); ++y) {
        const Span outer = rows_[y];
        const Span hole = y < inner.rows_.size() ? inner.rows_[y] : Span{};
        if (hole.x1 <= hole.x0) {
            left[y] = outer;
            continue;
        }
        left[y] = {outer.x0, std::min(outer.x1, hole.x0)};
        right[y] = {std::max(outer.x0, hole.x1), outer.x1};
    }
    std::vector<xcb_rectangle_t> out;
    appendRuns(out, left);
    appendRuns(out, right);
    return out;
}

}  // namespace desktop
