#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace desktop {

// One connection to the X server: the main thread borrows the toolkit's, every worker
// thread opens its own. Requests are thread safe (xcb locks internally); the atom cache is
// guarded. Errors come back as events or replies, never as a process exit.
class X11Connection {
public:
    // Nothing when the display cannot be reached.
    static std::shared_ptr<X11Connection> open(const std::string& displayName);
    static std::shared_ptr<X11Connection> borrow(xcb_connection_t* connection, int screen);

    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* get() const { return connection_; }
    xcb_screen_t* screen() const { return screen_; }
    xcb_window_t root() const { return screen_->root; }
    bool broken() const { return xcb_connection_has_error(connection_) != 0; }
    const std::string& displayName() const { return displayName_; }

    xcb_atom_t atom(std::string_view name);
    // Whether the server offers the extension (by its protocol name, "Composite" say).
    bool hasExtension(std::string_view name);
    void flush() { xcb_flush(connection_); }

private:
    X11Connection(xcb_connection_t* connection, int screen, bool owned);

    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
    bool owned_;
    std::string displayName_;
    std::mutex mutex_;  // guards atoms_
    std::unordered_map<std::string, xcb_atom_t> atoms_;
};

// A reply that frees itself: XReply<xcb_get_geometry_reply_t>
// geometry(xcb_get_geometry_reply(...)).
template <class T>
using XReply = std::unique_ptr<T, decltype(&std::free)>;

template <class T>
XReply<T> xreply(T* reply) {
    return XReply<T>(reply, &std::free);
}

// Waits for a reply. An error (a window that went away meanwhile, say) gives nothing and
// is dropped here instead of reaching the connection's event queue.
template <class Reply, class Cookie>
XReply<Reply> fetch(xcb_connection_t* connection, Cookie cookie,
                    Reply* (*replyOf)(xcb_connection_t*, Cookie, xcb_generic_error_t**)) {
    xcb_generic_error_t* error = nullptr;
    Reply* reply = replyOf(connection, cookie, &error);
    std::free(error);
    return xreply(reply);
}

}  // namespace desktop
