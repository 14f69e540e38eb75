#pragma once

#include <memory>
#include <string>

namespace desktop {
class WaylandContext;
}

// Runs the program on the Wayland compositor the context is connected to; gives the exit status.
// The desktop's line goes to the log once the program runs. If the compositor goes away it
// writes one line to the log and ends with status 1.
int runWaylandDesktop(int argc, char** argv, const std::string& desktopLine,
                      std::unique_ptr<desktop::WaylandContext> context);
