#include "platform/desktop/x11/X11Connection.h"

#include <cstdlib>

namespace desktop {

std::shared_ptr<X11Connection> X11Connection::open(const std::string& displayName) {
    int screen = 0;
    xcb_connection_t* connection =
        xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), &screen);
    if (connection == nullptr) return nullptr;
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::shared_ptr<X11Connection> result(new X11Connection(connection, screen, true));
    result->displayName_ = displayName;
    if (result->screen_ == nullptr) return nullptr;
    return result;
}

std::shared_ptr<X11Connection> X11Connection::borrow(xcb_connection_t* connection, int screen) {
    std::shared_ptr<X11Connection> result(new X11Connection(connection, screen, false));
    if (result->screen_ == nullptr) return nullptr;
    return result;
}

X11Connection::X11Connection(xcb_connection_t* connection, int screen, bool owned)
    : connection_(connection), owned_(owned) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem > 0; xcb_screen_next(&it), ++i)
        if (i == screen) screen_ = it.data;
}

X11Connection::~X11Connection() {
    if (owned_) xcb_disconnect(connection_);
}

xcb_atom_t X11Connection::atom(std::string_view name) {
    const std::string key(name);
    {
        std::lock_guard lock(mutex_);
        if (const auto found = atoms_.find(key); found != atoms_.end()) return found->second;
    }
    const auto cookie =
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(key.size()), key.data());
    const auto reply = fetch(connection_, cookie, xcb_intern_atom_reply);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::lock_guard lock(mutex_);
    if (atom != XCB_ATOM_NONE) atoms_[key] = atom;
    return atom;
}

bool X11Connection::hasExtension(std::string_view name) {
    const auto cookie =
        xcb_query_extension(connection_, static_cast<uint16_t>(name.size()), name.data());
    const auto reply = fetch(connection_, cookie, xcb_query_extension_reply);
    return reply && reply->present;
}

}  // namespace desktop
