#pragma once

namespace platform {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

// Origin and size in points. Window-server rectangles grow downwards from the top left
// of the main display; screen rectangles grow upwards from its bottom left.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool operator==(const Rect&) const = default;

    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    Size size() const { return {width, height}; }

    // Grows the rectangle by dx and dy on each side (shrinks for positive values).
    Rect insetBy(double dx, double dy) const {
        return {x + dx, y + dy, width - 2 * dx, height - 2 * dy};
    }
    // The rectangle at the origin with the same size.
    Rect bounds() const { return {0, 0, width, height}; }
    // A point on the maximum edges is outside, as on the desktop.
    bool contains(Point p) const { return p.x >= x && p.x < maxX() && p.y >= y && p.y < maxY(); }
};

}  // namespace platform
