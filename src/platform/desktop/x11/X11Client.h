#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace desktop {

class X11Connection;

// Invisible margins that a client draws around itself (client-side shadows).
struct FrameExtents {
    uint32_t left = 0;
    uint32_t right = 0;
    uint32_t top = 0;
    uint32_t bottom = 0;
    bool operator==(const FrameExtents&) const = default;
};

// One window that the window manager manages, as the user sees it.
struct X11Client {
    xcb_window_t client = 0;
    // The top-level window around it (the window manager's frame, or the client itself).
    xcb_window_t frame = 0;
    int32_t pid = 0;  // 0 when neither the client nor the server can tell
    std::optional<std::string> className;
    std::optional<std::string> executable;
    platform::Rect frameRect;  // root coordinates, border included
    FrameExtents extents;
    bool mapped = false;

    // What the user sees of it: the frame without the client's shadow margins, in root
    // coordinates.
    platform::Rect visibleRect() const;
};

// The identity the desktop reports for the client's application. Copies of this program
// share their executable's path, so that a copy finds the others by it; any other program
// is its path and its pid, since every process of a program shares the path and the end of
// one process concerns only its own windows. Nothing without a pid.
std::optional<std::string> applicationIdentity(const X11Client& client);

// The managed windows now, bottom first, read with one connection; any thread.
std::vector<X11Client> scanClients(X11Connection& connection);
// Fills in frame, geometry, extents and map state of one client; false when it is gone.
bool readClientGeometry(X11Connection& connection, X11Client& client);
// The shadow margins a client declares (_GTK_FRAME_EXTENTS); none when it declares none.
FrameExtents readFrameExtents(X11Connection& connection, xcb_window_t client);
// Fills in pid, class and executable of one client.
void readClientIdentity(X11Connection& connection, X11Client& client);
// The managed windows' ids, bottom first (_NET_CLIENT_LIST_STACKING, else _NET_CLIENT_LIST).
std::vector<xcb_window_t> readClientList(X11Connection& connection);
// The active window, or 0.
xcb_window_t readActiveWindow(X11Connection& connection);
// The top-level window (child of the root) that holds the window, or 0 when it is gone.
xcb_window_t topLevelOf(X11Connection& connection, xcb_window_t window);

}  // namespace desktop
