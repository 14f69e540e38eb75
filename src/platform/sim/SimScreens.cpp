#include "platform/sim/SimScreens.h"

#include "platform/sim/SimDesktop.h"

namespace sim {

std::vector<platform::Screen> SimScreens::screens() const {
    std::vector<platform::Screen> list;
    for (const auto& screen : desktop_.screens)
        list.push_back({screen.frame, screen.visibleFrame});
    return list;
}

// The program's key window stays on the first screen in this model.
std::optional<platform::Screen> SimScreens::mainScreen() const {
    if (desktop_.screens.empty()) return std::nullopt;
    const SimScreen& first = desktop_.screens.front();
    return platform::Screen{first.frame, first.visibleFrame};
}

}  // namespace sim
