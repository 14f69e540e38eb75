#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <mutex>
#include <vector>

namespace desktop {

// Where a panel shows one capture's frames, as the panel's thread last laid it out. The
// capture's thread reads it to draw each frame's changes there itself; while it is not
// armed, the panel's thread draws the frames.
class X11VideoSink {
public:
    struct Layout {
        xcb_window_t window = 0;
        xcb_visualid_t visual = 0;
        xcb_rectangle_t rect{};             // the picture's place in the window
        std::vector<xcb_rectangle_t> clip;  // what of it shows, in the window
    };

    // Each call with a different layout hands out a new one.
    void arm(Layout layout);
    void disarm();
    // Null while not armed; the same object for as long as the layout stays.
    std::shared_ptr<const Layout> layout() const;

private:
    mutable std::mutex mutex_;  // guards layout_
    std::shared_ptr<const Layout> layout_;
};

}  // namespace desktop
