#include "PanelProbe.h"

#include <xcb/shape.h>

#include <cstdlib>
#include <memory>

namespace {

template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> own(Reply* reply) {
    return {reply, &std::free};
}

}  // namespace

PanelProbe::PanelProbe(xcb_connection_t* connection, xcb_window_t panel)
    : connection_(connection), panel_(panel) {}

std::optional<uint32_t> PanelProbe::pixel(int x, int y) const {
    const auto cookie =
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, panel_, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), 1, 1, UINT32_MAX);
    auto reply = own(xcb_get_image_reply(connection_, cookie, nullptr));
    if (reply == nullptr || xcb_get_image_data_length(reply.get()) < 4) return std::nullopt;
    // Depth 24 and 32 keep 32 bits per pixel, blue first on this little-endian server.
    const uint8_t* data = xcb_get_image_data(reply.get());
    return uint32_t{data[2]} << 16 | uint32_t{data[1]} << 8 | data[0];
}

bool PanelProbe::covers(int x, int y) const {
    const auto cookie = xcb_shape_get_rectangles(connection_, panel_, XCB_SHAPE_SK_BOUNDING);
    auto reply = own(xcb_shape_get_rectangles_reply(connection_, cookie, nullptr));
    if (reply == nullptr) return false;
    const xcb_rectangle_t* rects = xcb_shape_get_rectangles_rectangles(reply.get());
    const int count = xcb_shape_get_rectangles_rectangles_length(reply.get());
    for (int i = 0; i < count; ++i) {
        const xcb_rectangle_t& r = rects[i];
        if (x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height) return true;
    }
    return false;
}
