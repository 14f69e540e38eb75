#pragma once

// Runs the program on the X11 desktop named by DISPLAY; gives the exit status. Without a
// display it says so on standard error and gives 2.
int runDesktop(int argc, char** argv);
