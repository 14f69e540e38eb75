#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <optional>
#include <string>

#include "desktop/ChildProcess.h"
#include "desktop/XDriver.h"

class BenchDesktop;

// A GTK 4 program's window (the widget factory, client-side decorations) on the shared
// desktop, pinned with Alt + P as a person would. While pinned, the panel lies over what
// the user sees of the window: its frame without the shadow margins the toolkit declares
// (_GTK_FRAME_EXTENTS), grown by the margin.
class GtkWindow {
public:
    static constexpr int margin = 6;

    // Throws std::runtime_error when the program is missing or shows no window.
    explicit GtkWindow(BenchDesktop& bench);
    ~GtkWindow();
    GtkWindow(const GtkWindow&) = delete;
    GtkWindow& operator=(const GtkWindow&) = delete;

    xcb_window_t window() const { return window_; }
    xcb_window_t frame() { return x_.topLevelOf(window_); }
    xcb_window_t panel() const { return panel_; }
    // Where the panel belongs now; nothing when the window is gone.
    std::optional<XDriver::Rect> panelRect();
    // Asks the window manager for a new size, as a pager would.
    void requestSize(int width, int height);

    // An error text, empty on success.
    std::string pin();

private:
    xcb_window_t findWindow();

    BenchDesktop& bench_;
    XDriver& x_;
    std::unique_ptr<ChildProcess> process_;
    xcb_window_t window_ = XCB_NONE;
    xcb_window_t panel_ = XCB_NONE;
};
