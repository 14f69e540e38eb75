#pragma once

#include "platform/desktop/DesktopWindowServer.h"

namespace desktop {

class WaylandContext;

// The settings window on the toolkit's Wayland platform: the compositor always composites,
// decides where a new window opens and whether it gets the focus; a client cannot place
// itself, so the global origin is simply the toolkit's. Keys are read by their symbol in the
// layout in use, as the shortcut service fires them.
class WaylandWindowServer : public DesktopWindowServer {
public:
    explicit WaylandWindowServer(WaylandContext& context) : context_(context) {}

    bool compositorRuns() const override { return true; }
    void stampUserTime(uint32_t) const override {}
    void requestActivation(uint32_t) const override {}
    platform::Point origin() const override { return {}; }
    double refreshRate() const override;
    std::optional<platform::KeyEvent> keyEvent(uint32_t keycode, uint32_t keysym,
                                               uint32_t state) const override;

private:
    WaylandContext& context_;
};

}  // namespace desktop
