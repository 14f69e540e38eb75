#include "platform/desktop/wayland/WaylandWindowServer.h"

#include "platform/desktop/wayland/WaylandContext.h"

namespace desktop {

double WaylandWindowServer::refreshRate() const {
    const auto outputs = context_.outputs().all();
    return outputs.empty() || outputs.front().refreshRate <= 1 ? 60 : outputs.front().refreshRate;
}

}  // namespace desktop
