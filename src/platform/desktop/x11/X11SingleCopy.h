#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace desktop {

class X11Context;

// One copy of the program per display: the first copy owns a selection on it, and a later
// copy finds the owner there. Main thread.
class X11SingleCopy {
public:
    explicit X11SingleCopy(X11Context& context) : context_(context) {}

    // The pid of another copy that owns the display's selection; nothing when this copy
    // owns it (taking it on first asking, when nobody does).
    std::optional<int32_t> otherCopy() const;

private:
    bool claim() const;

    X11Context& context_;
    mutable xcb_window_t window_ = 0;  // our selection's owner window, once claimed
};

}  // namespace desktop
