#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

namespace desktop {

class X11Connection;

// A rectangle of a drawable, in its own coordinates.
struct PixelRect {
    xcb_drawable_t drawable = 0;
    int16_t x = 0;
    int16_t y = 0;
    uint16_t width = 0;
    uint16_t height = 0;
};

// Reads the rectangle as BGRA, 4 x width bytes a row, through a shared memory segment when
// the server offers one (else a plain, much slower, GetImage). Alpha is 255 unless the
// drawable has depth 32. False when the server gives no pixels (gone, or not 32 bits a
// pixel).
bool readPixels(X11Connection& connection, const PixelRect& rect, uint8_t depth,
                std::vector<uint8_t>& pixels);

}  // namespace desktop
