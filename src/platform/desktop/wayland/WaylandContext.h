#pragma once

#include <memory>
#include <string>

#include "platform/desktop/wayland/WaylandConnection.h"
#include "platform/desktop/wayland/WaylandOutputs.h"
#include "platform/desktop/wayland/WaylandWindowModel.h"

namespace desktop {

// What the Wayland services share: the connection to the compositor and the window model
// read from it. Lives until the process ends.
class WaylandContext {
public:
    // Nothing when the compositor cannot be reached or does not answer.
    static std::unique_ptr<WaylandContext> open(const std::string& display) {
        auto connection = WaylandConnection::connect(display);
        if (connection == nullptr) return nullptr;
        std::unique_ptr<WaylandContext> context(new WaylandContext(std::move(connection)));
        if (!context->connection_->start()) return nullptr;
        return context;
    }

    WaylandConnection& connection() { return *connection_; }
    WaylandWindowModel& windows() { return windows_; }
    WaylandOutputs& outputs() { return connection_->outputs(); }

private:
    explicit WaylandContext(std::unique_ptr<WaylandConnection> connection)
        : connection_(std::move(connection)), windows_(*connection_) {}

    std::unique_ptr<WaylandConnection> connection_;
    WaylandWindowModel windows_;
};

}  // namespace desktop
