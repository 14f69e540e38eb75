#pragma once

#include <cstdint>
#include <memory>

#include "platform/Geometry.h"
#include "platform/Window.h"

namespace platform {

// Makes the windows and panels of this program.
class Windows {
public:
    virtual ~Windows() = default;

    // The content rectangle is in screen coordinates. A panel may float without
    // activating the program (nonactivatingPanelStyle).
    virtual std::shared_ptr<Window> makeWindow(const Rect& contentRect, uint64_t styleMask,
                                               int backing, bool defer) = 0;
    virtual std::shared_ptr<Window> makePanel(const Rect& contentRect, uint64_t styleMask,
                                              int backing, bool defer) = 0;
};

}  // namespace platform
