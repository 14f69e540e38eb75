#pragma once

#include <xcb/xcb.h>

namespace desktop {

class X11Context;

// Asks the window manager to activate the client, as a pager does (source indication 2),
// with the time of the user's latest input so that focus-stealing prevention lets it.
void requestActivation(X11Context& context, xcb_window_t client);
// Asks the window manager to raise the client above its siblings.
void requestRaise(X11Context& context, xcb_window_t client);

}  // namespace desktop
