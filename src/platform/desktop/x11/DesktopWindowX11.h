#pragma once

#include <cstdint>

#include "platform/Geometry.h"

namespace desktop {

class X11Context;

// What the settings window asks of the X server directly, kept apart from the toolkit's
// headers: the compositing manager, focus despite focus-stealing prevention, the global
// origin and the refresh rate.
class DesktopWindowX11 {
public:
    explicit DesktopWindowX11(X11Context& context) : context_(context) {}

    bool compositorRuns() const;
    // Marks the window as touched at the user's latest input, before it is mapped.
    void stampUserTime(uint32_t window) const;
    // Asks the window manager for focus as the application does after a user's request.
    void requestActivation(uint32_t window) const;
    // Root coordinates of the global origin, and the primary monitor's refresh rate.
    platform::Point origin() const;
    double refreshRate() const;

private:
    X11Context& context_;
};

}  // namespace desktop
