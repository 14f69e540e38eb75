#pragma once

#include <string>

// Runs the program on the X11 desktop named by DISPLAY; gives the exit status. Without a
// display it says so on standard error and gives 2. The desktop's line goes to the log once
// the program runs.
int runX11Desktop(int argc, char** argv, const std::string& desktopLine);
