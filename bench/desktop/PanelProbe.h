#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

// Reads what the panel window itself shows at one point, in its own coordinates. Without a
// compositing manager a window's pixels are the screen's where it is not shaped away, so a
// point counts only while the panel's bounding shape covers it: outside the shape the real
// window beneath would show through and a measurement could not fail.
class PanelProbe {
public:
    PanelProbe(xcb_connection_t* connection, xcb_window_t panel);

    // 0xRRGGBB, or nothing when the window is gone.
    std::optional<uint32_t> pixel(int x, int y) const;
    bool covers(int x, int y) const;

private:
    xcb_connection_t* connection_;
    xcb_window_t panel_;
};
