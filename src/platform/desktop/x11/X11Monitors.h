#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace desktop {

class X11Connection;

struct X11Monitor {
    platform::Rect rect;  // root coordinates
    bool primary = false;
};

// The RandR monitors, the primary first (the whole root when RandR gives none); any thread.
std::vector<X11Monitor> readMonitors(X11Connection& connection);
// The refresh rate of the primary output's mode, in Hz; 60 when it cannot be told.
double readRefreshRate(X11Connection& connection);
// The top-left corner of the primary monitor in root coordinates: the global origin.
platform::Point globalOrigin(X11Connection& connection);

}  // namespace desktop
