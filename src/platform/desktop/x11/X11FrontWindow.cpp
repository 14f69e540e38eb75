#include "platform/desktop/x11/X11FrontWindow.h"

#include <algorithm>
#include <vector>

#include "platform/desktop/x11/X11Client.h"
#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11Properties.h"

namespace desktop {
namespace {

bool exists(X11Connection& connection, xcb_window_t window) {
    const auto cookie = xcb_get_window_attributes(connection.get(), window);
    return fetch(connection.get(), cookie, xcb_get_window_attributes_reply) != nullptr;
}

bool isViewable(X11Connection& connection, xcb_window_t window) {
    const auto cookie = xcb_get_window_attributes(connection.get(), window);
    const auto attributes = fetch(connection.get(), cookie, xcb_get_window_attributes_reply);
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

// A window without a type is normal unless it is transient for another (then a dialog).
bool isNormal(X11Connection& connection, xcb_window_t window) {
    const auto types =
        readCardinals(connection, window, connection.atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM);
    if (types && !types->empty())
        return types->front() == connection.atom("_NET_WM_WINDOW_TYPE_NORMAL");
    return !readCardinal(connection, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
}

// Input false in WM_HINTS, and no WM_TAKE_FOCUS through which it could still be focused.
bool refusesFocus(X11Connection& connection, xcb_window_t window) {
    constexpr uint32_t inputHint = 1;
    const auto hints = readCardinals(connection, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS);
    if (!hints || hints->size() < 2 || ((*hints)[0] & inputHint) == 0 || (*hints)[1] != 0)
        return false;
    const auto protocols =
        readCardinals(connection, window, connection.atom("WM_PROTOCOLS"), XCB_ATOM_ATOM);
    const xcb_atom_t takeFocus = connection.atom("WM_TAKE_FOCUS");
    return !protocols ||
           std::find(protocols->begin(), protocols->end(), takeFocus) == protocols->end();
}

}  // namespace

xcb_window_t readFrontWindow(X11Connection& connection) {
    const xcb_window_t active = readActiveWindow(connection);
    const bool named = active != 0 && exists(connection, active);
    const auto stacking =
        readCardinals(connection, connection.root(), connection.atom("_NET_CLIENT_LIST_STACKING"),
                      XCB_ATOM_WINDOW);
    if (named && !stacking) return active;  // nothing tells what lies above it
    const std::vector<xcb_window_t> bottomFirst =
        stacking ? std::vector<xcb_window_t>(stacking->begin(), stacking->end())
                 : readClientList(connection);
    for (auto window = bottomFirst.rbegin(); window != bottomFirst.rend(); ++window) {
        if (*window == active) return active;
        if (!isViewable(connection, *window) || !isNormal(connection, *window)) continue;
        if (!named || refusesFocus(connection, *window)) return *window;
    }
    return named ? active : 0;  // an active window not managed yet, or one of ours
}

}  // namespace desktop
