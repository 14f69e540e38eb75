#include "platform/desktop/x11/X11Properties.h"

#include "platform/desktop/x11/X11Connection.h"

namespace desktop {
namespace {

constexpr uint32_t longLimit = 1 << 16;  // 32-bit units: far more than any property we read

XReply<xcb_get_property_reply_t> getProperty(X11Connection& connection, xcb_window_t window,
                                             xcb_atom_t property, xcb_atom_t type) {
    const auto cookie = xcb_get_property(connection.get(), 0, window, property, type, 0, longLimit);
    return fetch(connection.get(), cookie, xcb_get_property_reply);
}

}  // namespace

std::optional<std::vector<uint32_t>> readCardinals(X11Connection& connection, xcb_window_t window,
                                                   xcb_atom_t property, xcb_atom_t type) {
    const auto reply = getProperty(connection, window, property, type);
    if (!reply || reply->type != type || reply->format != 32) return std::nullopt;
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<uint32_t>(values, values + count);
}

std::optional<uint32_t> readCardinal(X11Connection& connection, xcb_window_t window,
                                     xcb_atom_t property, xcb_atom_t type) {
    const auto values = readCardinals(connection, window, property, type);
    if (!values || values->empty()) return std::nullopt;
    return values->front();
}

std::optional<std::string> readBytes(X11Connection& connection, xcb_window_t window,
                                     xcb_atom_t property) {
    const auto reply = getProperty(connection, window, property, XCB_GET_PROPERTY_TYPE_ANY);
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 8) return std::nullopt;
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(bytes, static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

}  // namespace desktop
