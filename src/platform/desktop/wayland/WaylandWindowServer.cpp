#include "platform/desktop/wayland/WaylandWindowServer.h"

#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandKeyCodes.h"

namespace desktop {

double WaylandWindowServer::refreshRate() const {
    const auto outputs = context_.outputs().all();
    return outputs.empty() || outputs.front().refreshRate <= 1 ? 60 : outputs.front().refreshRate;
}

std::optional<platform::KeyEvent> WaylandWindowServer::keyEvent(uint32_t keycode, uint32_t keysym,
                                                                uint32_t state) const {
    return waylandKeyEvent(keycode, keysym, state);
}

}  // namespace desktop
