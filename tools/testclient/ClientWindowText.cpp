#include <algorithm>
#include <vector>

#include "ClientWindow.h"

namespace {

constexpr int glyphWidth = 8;
constexpr uint32_t textColor = 0xd0d0d0;

}  // namespace

void ClientWindow::scrollText(int rows, int rowHeight) {
    ++frames_;
    const int x = extents_.left, width = width_ - extents_.left - extents_.right;
    const int bottom = height_ - extents_.bottom;
    const int top = std::max(extents_.top, bottom - rows * rowHeight);
    const int last = bottom - rowHeight;
    if (last > top)
        xcb_copy_area(connection_, window_, window_, gc_, static_cast<int16_t>(x),
                      static_cast<int16_t>(top + rowHeight), static_cast<int16_t>(x),
                      static_cast<int16_t>(top), static_cast<uint16_t>(width),
                      static_cast<uint16_t>(last - top));
    fill(pixel(color_), x, last, width, rowHeight);
    writeLine(last, rowHeight);
    xcb_flush(connection_);
}

// Glyph-like marks, one to three strokes a cell, different on every line; words end at
// spaces and the line at a ragged right edge.
void ClientWindow::writeLine(int y, int rowHeight) {
    std::vector<xcb_rectangle_t> strokes;
    const int width = width_ - extents_.left - extents_.right;
    const int length = static_cast<int>(frames_ * 37 % static_cast<uint64_t>(width / glyphWidth));
    for (int cell = 0; cell < length; ++cell) {
        const uint64_t seed = frames_ * 131 + static_cast<uint64_t>(cell) * 29;
        if (seed % 7 == 0) continue;  // a space
        const int x = extents_.left + cell * glyphWidth;
        for (uint64_t stroke = 0; stroke <= seed % 3; ++stroke) {
            const bool upright = (seed >> stroke) % 2 == 0;
            const int offset = static_cast<int>((seed >> (2 * stroke)) % 5);
            strokes.push_back(upright ? xcb_rectangle_t{static_cast<int16_t>(x + 1 + offset),
                                                        static_cast<int16_t>(y + 3), 1,
                                                        static_cast<uint16_t>(rowHeight - 6)}
                                      : xcb_rectangle_t{static_cast<int16_t>(x + 1),
                                                        static_cast<int16_t>(y + 3 + 2 * offset),
                                                        static_cast<uint16_t>(glyphWidth - 2), 1});
        }
    }
    const uint32_t ink = pixel(textColor);
    xcb_change_gc(connection_, gc_, XCB_GC_FOREGROUND, &ink);
    if (!strokes.empty())
        xcb_poly_fill_rectangle(connection_, window_, gc_, static_cast<uint32_t>(strokes.size()),
                                strokes.data());
}
