#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace desktop {

// Another program's window as the compositor's window management describes it.
struct WaylandWindow {
    static constexpr uint32_t activeState = 1u << 0;
    static constexpr uint32_t minimizedState = 1u << 1;
    static constexpr uint32_t onAllDesktopsState = 1u << 6;

    uint32_t id = 0;  // the compositor's number for it; the window's number here
    std::string uuid;
    int32_t pid = 0;
    std::string appId;
    std::string title;
    std::string executable;   // from /proc, once the pid is known
    platform::Rect geometry;  // global logical coordinates, y downwards, with decorations
    uint32_t state = 0;
    std::vector<std::string> desktops;  // virtual desktops it is on
    bool ready = false;                 // its initial state has arrived

    bool active() const { return (state & activeState) != 0; }
    bool minimized() const { return (state & minimizedState) != 0; }
    // What the program is called: the last part of a reverse-domain app id, else the id.
    std::string name() const;
};

}  // namespace desktop
