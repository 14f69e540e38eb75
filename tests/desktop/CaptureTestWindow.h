#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/desktop/x11/X11Client.h"

namespace desktop {
class X11Connection;
}

// A plain window of the test's own, on a connection of its own, painted in known colours
// (0xRRGGBB). Managed by the window manager without decorations unless override-redirect.
class CaptureTestWindow {
public:
    struct Options {
        uint16_t width = 160;
        uint16_t height = 120;
        uint16_t border = 0;  // only kept by override-redirect windows
        uint32_t borderColour = 0;
        bool overrideRedirect = false;
        desktop::FrameExtents extents;  // set as _GTK_FRAME_EXTENTS when not empty
    };

    CaptureTestWindow(const std::string& display, Options options);
    ~CaptureTestWindow();

    xcb_window_t id() const { return window_; }
    // Maps it and waits until the window manager shows it.
    bool show();
    // Fills the window; with extents, the margins get marginColour.
    void paint(uint32_t colour, uint32_t marginColour = 0);
    // Fills a corner and then the whole window, sent together: a client frame drawn in two
    // requests, the second one slow.
    void paintCornerFirst(uint32_t colour);
    // Repaints when the server or someone else asked for it; true when it did.
    bool repaintIfExposed();
    void resize(uint16_t width, uint16_t height);
    void iconify();
    // Unmaps it as its own program would; the window manager lets go of it.
    void withdraw();
    void activate();
    void destroy();
    // Round trip: everything asked for so far has reached the server.
    void sync();
    // The frame's outer rectangle (root coordinates) and whether it is viewable.
    bool frameGeometry(int& width, int& height, bool& viewable);

private:
    void fill(uint32_t colour, int16_t x, int16_t y, uint16_t width, uint16_t height);
    void sendToRoot(xcb_atom_t type, uint32_t d0, uint32_t d1);
    void waitUntilUnmanaged(xcb_window_t window);

    std::shared_ptr<desktop::X11Connection> connection_;
    Options options_;
    xcb_window_t window_ = 0;
    xcb_gcontext_t gc_ = 0;
    uint32_t colour_ = 0;
    uint32_t marginColour_ = 0;
};
