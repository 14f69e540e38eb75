#pragma once

// The simulated desktop's side of the program's own interface, gathered for SimDesktop.h.
#include "platform/sim/SimDisplayLinks.h"
#include "platform/sim/SimEventTaps.h"
#include "platform/sim/SimKeyMonitors.h"
#include "platform/sim/SimKeyNaming.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimTimers.h"
#include "platform/sim/SimTransaction.h"
#include "platform/sim/SimWindowList.h"
#include "platform/sim/SimWindows.h"
