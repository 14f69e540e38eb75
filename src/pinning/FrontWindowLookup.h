#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/ShareableContent.h"

// How long the lookup waits for the window list. The desktop answers within milliseconds;
// the main thread is blocked meanwhile, so silence beyond a few seconds means no answer
// will come, and waiting longer would only freeze the program.
inline constexpr std::chrono::milliseconds defaultWindowListWait{3000};

// The front window of the application with this process identifier, as the window list
// knows it: its focused window, else its main window, else the first it lists. Logs each
// step. Blocks the calling (main) thread until the window list arrives or the wait ends.
std::optional<platform::SCWindow> frontWindowOf(
    int32_t pid, std::chrono::milliseconds windowListWait = defaultWindowListWait);
