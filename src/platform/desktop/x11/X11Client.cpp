#include "platform/desktop/x11/X11Client.h"

#include <unistd.h>
#include <xcb/res.h>
#include <xcb/xproto.h>

#include <climits>

#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11Properties.h"

namespace desktop {
namespace {

std::optional<std::string> executableOf(int32_t pid) {
    if (pid <= 0) return std::nullopt;
    char path[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path - 1);
    if (length <= 0) return std::nullopt;
    return std::string(path, static_cast<size_t>(length));
}

// Clients such as xeyes set no _NET_WM_PID; the server knows the pid of local clients.
int32_t serverSidePid(X11Connection& connection, xcb_window_t window) {
    xcb_res_client_id_spec_t spec{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    const auto cookie = xcb_res_query_client_ids(connection.get(), 1, &spec);
    const auto reply = fetch(connection.get(), cookie, xcb_res_query_client_ids_reply);
    if (!reply) return 0;
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem > 0;
         xcb_res_client_id_value_next(&it)) {
        if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) == 0) continue;
        if (xcb_res_client_id_value_value_length(it.data) < 1) continue;
        return static_cast<int32_t>(*xcb_res_client_id_value_value(it.data));
    }
    return 0;
}

// WM_CLASS holds the instance and then the class, each ending in a zero byte.
std::optional<std::string> classOf(X11Connection& connection, xcb_window_t window) {
    const auto bytes = readBytes(connection, window, XCB_ATOM_WM_CLASS);
    if (!bytes) return std::nullopt;
    const size_t split = bytes->find('\0');
    if (split == std::string::npos) return std::nullopt;
    std::string name = bytes->substr(split + 1);
    if (const size_t end = name.find('\0'); end != std::string::npos) name.resize(end);
    if (name.empty()) return std::nullopt;
    return name;
}

const std::optional<std::string>& ownExecutable() {
    static const std::optional<std::string> path = executableOf(static_cast<int32_t>(::getpid()));
    return path;
}

}  // namespace

std::optional<std::string> applicationIdentity(const X11Client& client) {
    if (client.pid <= 0) return std::nullopt;
    if (client.executable && client.executable == ownExecutable()) return client.executable;
    return client.executable.value_or("") + "#" + std::to_string(client.pid);
}

platform::Rect X11Client::visibleRect() const {
    return {frameRect.x + extents.left, frameRect.y + extents.top,
            frameRect.width - extents.left - extents.right,
            frameRect.height - extents.top - extents.bottom};
}

std::vector<xcb_window_t> readClientList(X11Connection& connection) {
    auto list = readCardinals(connection, connection.root(),
                              connection.atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW);
    if (!list)
        list = readCardinals(connection, connection.root(), connection.atom("_NET_CLIENT_LIST"),
                             XCB_ATOM_WINDOW);
    return list ? std::vector<xcb_window_t>(list->begin(), list->end())
                : std::vector<xcb_window_t>{};
}

xcb_window_t readActiveWindow(X11Connection& connection) {
    return readCardinal(connection, connection.root(), connection.atom("_NET_ACTIVE_WINDOW"),
                        XCB_ATOM_WINDOW)
        .value_or(0);
}

xcb_window_t topLevelOf(X11Connection& connection, xcb_window_t window) {
    for (int depth = 0; depth < 64; ++depth) {
        const auto cookie = xcb_query_tree(connection.get(), window);
        const auto tree = fetch(connection.get(), cookie, xcb_query_tree_reply);
        if (!tree) return 0;
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) return window;
        window = tree->parent;
    }
    return 0;
}

bool readClientGeometry(X11Connection& connection, X11Client& client) {
    client.frame = topLevelOf(connection, client.client);
    if (client.frame == 0) return false;
    xcb_connection_t* c = connection.get();
    const auto geometryCookie = xcb_get_geometry(c, client.frame);
    const auto attributesCookie = xcb_get_window_attributes(c, client.frame);
    const auto geometry = fetch(c, geometryCookie, xcb_get_geometry_reply);
    const auto attributes = fetch(c, attributesCookie, xcb_get_window_attributes_reply);
    if (!geometry || !attributes) return false;
    const double border = geometry->border_width;
    client.frameRect = {static_cast<double>(geometry->x), static_cast<double>(geometry->y),
                        geometry->width + 2 * border, geometry->height + 2 * border};
    client.mapped = attributes->map_state != XCB_MAP_STATE_UNMAPPED;
    client.extents = readFrameExtents(connection, client.client);
    return true;
}

FrameExtents readFrameExtents(X11Connection& connection, xcb_window_t client) {
    const auto extents =
        readCardinals(connection, client, connection.atom("_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
    if (!extents || extents->size() < 4) return {};
    return {(*extents)[0], (*extents)[1], (*extents)[2], (*extents)[3]};
}

void readClientIdentity(X11Connection& connection, X11Client& client) {
    const auto pid =
        readCardinal(connection, client.client, connection.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
    client.pid = pid && *pid > 0 && *pid <= INT32_MAX ? static_cast<int32_t>(*pid)
                                                      : serverSidePid(connection, client.client);
    client.className = classOf(connection, client.client);
    client.executable = executableOf(client.pid);
}

std::vector<X11Client> scanClients(X11Connection& connection) {
    std::vector<X11Client> clients;
    for (xcb_window_t window : readClientList(connection)) {
        X11Client client;
        client.client = window;
        if (!readClientGeometry(connection, client)) continue;  // gone since the list was read
        readClientIdentity(connection, client);
        clients.push_back(std::move(client));
    }
    return clients;
}

}  // namespace desktop
