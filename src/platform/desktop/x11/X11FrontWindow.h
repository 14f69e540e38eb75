#pragma once

#include <xcb/xcb.h>

namespace desktop {

class X11Connection;

// The window in front as the user sees it, or 0. Usually the active window; but windows
// that never take the focus (WM_HINTS input false, as clocks set) are never made active,
// so such a window stacked above the active one is in front (when the window manager
// publishes the stacking order). When it names no live active window (none, or one that is
// gone), the topmost normal viewable window is. One connection, any thread.
xcb_window_t readFrontWindow(X11Connection& connection);

}  // namespace desktop
