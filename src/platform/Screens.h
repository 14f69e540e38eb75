#pragma once

#include <optional>
#include <vector>

#include "platform/Geometry.h"

namespace platform {

struct Screen {
    Rect frame;         // screen coordinates; the first screen's origin is the global origin
    Rect visibleFrame;  // without the menu bar and the Dock
    bool operator==(const Screen&) const = default;
};

// The displays as they are now. Main thread only.
class Screens {
public:
    virtual ~Screens() = default;
    // The first one is the main display.
    virtual std::vector<Screen> screens() const = 0;
    // The screen with the key window, else the first; nothing without screens.
    virtual std::optional<Screen> mainScreen() const = 0;
};

}  // namespace platform
