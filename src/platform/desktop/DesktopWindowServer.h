#pragma once

#include <cstdint>
#include <optional>

#include "platform/Geometry.h"
#include "platform/KeyMonitors.h"

namespace desktop {

// What the settings window asks of the session's display server beyond the toolkit: the
// compositing, focus despite focus-stealing prevention, the global origin, the refresh
// rate, and the logic's reading of a key press. Main thread only.
class DesktopWindowServer {
public:
    virtual ~DesktopWindowServer() = default;

    virtual bool compositorRuns() const = 0;
    // Marks the window as touched at the user's latest input, before it is shown.
    virtual void stampUserTime(uint32_t window) const = 0;
    // Asks for focus as the application does after a user's request.
    virtual void requestActivation(uint32_t window) const = 0;
    // Where the toolkit's coordinates put the global origin, and the main display's rate.
    virtual platform::Point origin() const = 0;
    virtual double refreshRate() const = 0;
    // A press of a native key code, giving the keysym of the layout in use, in a native
    // modifier state; nothing when it cannot be read.
    virtual std::optional<platform::KeyEvent> keyEvent(uint32_t keycode, uint32_t keysym,
                                                       uint32_t state) const = 0;
};

}  // namespace desktop
