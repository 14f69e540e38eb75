#pragma once

#include "platform/sim/SimBundle.h"
#include "platform/sim/SimFonts.h"
#include "platform/sim/SimHotKeys.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimStatusBar.h"

namespace sim {

// The shell services of one simulated platform.
struct SimShellServices {
    explicit SimShellServices(SimDesktop& desktop)
        : hotKeys(desktop), statusBar(desktop), fonts(desktop), images(desktop), bundle(desktop) {}

    SimHotKeys hotKeys;
    SimStatusBar statusBar;
    SimFonts fonts;
    SimImages images;
    SimBundle bundle;
};

}  // namespace sim
