#pragma once

// The services of the program's own interface, gathered for Platform.h.
#include "platform/DisplayLink.h"
#include "platform/EventTaps.h"
#include "platform/KeyMonitors.h"
#include "platform/Screens.h"
#include "platform/Timers.h"
#include "platform/Transaction.h"
#include "platform/WindowList.h"
#include "platform/Windows.h"
