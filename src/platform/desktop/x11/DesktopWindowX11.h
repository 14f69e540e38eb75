#pragma once

#include <cstdint>

#include "platform/desktop/DesktopWindowServer.h"

namespace desktop {

class X11Context;

// What the settings window asks of the X server directly, kept apart from the toolkit's
// headers: the compositing manager, _NET_WM_USER_TIME, _NET_ACTIVE_WINDOW requests, the
// root coordinates of the global origin, the primary monitor's rate and the X key map.
class DesktopWindowX11 : public DesktopWindowServer {
public:
    explicit DesktopWindowX11(X11Context& context) : context_(context) {}

    bool compositorRuns() const override;
    void stampUserTime(uint32_t window) const override;
    void requestActivation(uint32_t window) const override;
    platform::Point origin() const override;
    double refreshRate() const override;
    std::optional<platform::KeyEvent> keyEvent(uint32_t keycode, uint32_t keysym,
                                               uint32_t state) const override;

private:
    X11Context& context_;
};

}  // namespace desktop
