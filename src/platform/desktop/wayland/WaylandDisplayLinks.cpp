#include "platform/desktop/PacedDisplayLink.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

// Paced at the main output's refresh, and woken only after the window model changed.
class WaylandDisplayLinks : public platform::DisplayLinks {
public:
    explicit WaylandDisplayLinks(WaylandContext& context) : context_(context) {}

    std::shared_ptr<platform::DisplayLink> createWithActiveDisplays() override {
        const auto outputs = context_.outputs().all();
        const double rate = outputs.empty() ? 60 : outputs.front().refreshRate;
        return std::make_shared<PacedDisplayLink>(rate > 0 ? rate : 60,
                                                  context_.windows().changes());
    }

private:
    WaylandContext& context_;
};

}  // namespace

std::unique_ptr<platform::DisplayLinks> makeWaylandDisplayLinks(WaylandContext& context) {
    return std::make_unique<WaylandDisplayLinks>(context);
}

}  // namespace desktop
