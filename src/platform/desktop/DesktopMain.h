#pragma once

#include <optional>

#include "platform/desktop/DesktopChoice.h"

// Runs the program on the Linux desktop around it, or on the kind forced by --desktop; gives
// the exit status. Without any display it says so on standard error and gives 2.
int runDesktop(int argc, char** argv, std::optional<desktop::DesktopKind> forced);
