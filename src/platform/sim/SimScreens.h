#pragma once

#include "platform/Screens.h"

namespace sim {

class SimDesktop;

// The desktop's screens as they are at each call.
class SimScreens : public platform::Screens {
public:
    explicit SimScreens(SimDesktop& desktop) : desktop_(desktop) {}
    std::vector<platform::Screen> screens() const override;
    std::optional<platform::Screen> mainScreen() const override;

private:
    SimDesktop& desktop_;
};

}  // namespace sim
