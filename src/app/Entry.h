#pragma once

#include "platform/Accessibility.h"

// The process entry: finds the window-number function, makes the process an accessory
// application, installs the delegate and runs the main loop.
int runApplication();

// The desktop's private window-number function; empty when the lookup found nothing.
const platform::WindowNumberFunction& axUIElementGetWindow();
