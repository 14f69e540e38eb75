#include <cstdlib>

#include "Atom.h"
#include "ClientWindow.h"

std::string ClientWindow::check(xcb_void_cookie_t cookie) {
    xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
    if (error == nullptr) return "";
    const std::string text = "X error " + std::to_string(error->error_code);
    std::free(error);
    return text;
}

// A managed window asks its window manager, which places the frame's corner at X, Y.
std::string ClientWindow::move(int x, int y) {
    const uint32_t values[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
    return check(xcb_configure_window_checked(connection_, window_,
                                              XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values));
}

std::string ClientWindow::resize(int width, int height) {
    if (width <= 0 || height <= 0) return "size must be positive";
    const uint32_t values[] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
    return check(xcb_configure_window_checked(
        connection_, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values));
}

std::string ClientWindow::iconify() {
    constexpr uint32_t iconicState = 3;
    return sendToRoot(internAtom(connection_, "WM_CHANGE_STATE"), iconicState, 0, 0);
}

std::string ClientWindow::map() {
    return check(xcb_map_window_checked(connection_, window_));
}

std::string ClientWindow::unmap() {
    return check(xcb_unmap_window_checked(connection_, window_));
}

// Source 2: a pager or the user asked, which the window manager does not refuse.
std::string ClientWindow::activate() {
    constexpr uint32_t sourcePager = 2;
    return sendToRoot(internAtom(connection_, "_NET_ACTIVE_WINDOW"), sourcePager, XCB_CURRENT_TIME,
                      0);
}

std::string ClientWindow::destroy() {
    const std::string error = check(xcb_destroy_window_checked(connection_, window_));
    window_ = XCB_NONE;
    return error;
}

std::string ClientWindow::sendToRoot(xcb_atom_t type, uint32_t d0, uint32_t d1, uint32_t d2) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window_;
    message.type = type;
    message.data.data32[0] = d0;
    message.data.data32[1] = d1;
    message.data.data32[2] = d2;
    return check(xcb_send_event_checked(
        connection_, 0, screen_->root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message)));
}
