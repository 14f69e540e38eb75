#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <string>

#include "ClientOptions.h"

// The test client's one window: a known colour, a 16-bit frame counter in its top-left
// corner (black and white cells, most significant bit first), optional transparent or
// magenta shadow margins, and the requests a test asks of it.
class ClientWindow {
public:
    ClientWindow(xcb_connection_t* connection, xcb_screen_t* screen, const ClientOptions& options);

    xcb_window_t id() const { return window_; }
    uint32_t color() const { return color_; }
    uint64_t frames() const { return frames_; }

    // Maps the window and waits until the server has shown it; false when it never does.
    bool showAndWait();
    // Fills the window with `color` (0xRRGGBB) and counts one more frame.
    void paint(uint32_t color);
    // Fills only that rectangle (window coordinates): a change confined to a small area.
    void patch(int x, int y, int width, int height, uint32_t color);
    // Scrolls the text of the bottom `rows` rows up by one and writes a new line in the last,
    // as a terminal does; counts one more frame but leaves the counter as it is.
    void scrollText(int rows, int rowHeight);
    // Reacts to one event; false once the window is gone or the window manager closed it.
    bool handle(const xcb_generic_event_t& event);

    // Each returns an error text, empty on success.
    std::string move(int x, int y);
    std::string resize(int width, int height);
    std::string iconify();
    std::string map();
    std::string unmap();
    std::string activate();
    std::string destroy();

private:
    xcb_visualid_t chooseVisual();
    void create(const ClientOptions& options);
    void setProperties(const ClientOptions& options);
    void setSizeHints(const ClientOptions& options);
    void setText(xcb_atom_t property, xcb_atom_t type, const std::string& text);
    void setCardinals(xcb_atom_t property, xcb_atom_t type, const uint32_t* values, uint32_t count);
    uint32_t pixel(uint32_t rgb) const;
    void fill(uint32_t pixel, int x, int y, int width, int height);
    void paintCounter(int x, int y);
    void writeLine(int y, int rowHeight);
    std::string sendToRoot(xcb_atom_t type, uint32_t d0, uint32_t d1, uint32_t d2);
    std::string check(xcb_void_cookie_t cookie);

    xcb_connection_t* connection_;
    xcb_screen_t* screen_;
    xcb_window_t window_ = XCB_NONE;
    xcb_gcontext_t gc_ = XCB_NONE;
    bool argb_ = false;
    bool overrideRedirect_ = false;
    ClientOptions::Extents extents_;
    int width_ = 0;
    int height_ = 0;
    uint32_t color_ = 0;
    uint64_t frames_ = 0;
    xcb_atom_t deleteWindow_ = XCB_ATOM_NONE;
};
