#pragma once

#include <memory>

#include "platform/KeyMonitors.h"
#include "platform/KeyNaming.h"

namespace desktop {

class X11Context;
class X11KeyCodes;

// Keys as a Linux desktop writes them ("Ctrl+Alt+K", "Super+P"), which virtual key codes
// the keyboard mapping of the X server can type, and X key presses as virtual key codes.
// Main thread only.
class X11KeyNaming : public platform::KeyNaming {
public:
    explicit X11KeyNaming(X11Context& context);
    ~X11KeyNaming() override;

    std::string modifierName(uint64_t flag) const override;
    std::optional<std::string> keyName(int64_t keyCode) const override;
    bool hasKey(int64_t keyCode) const override;
    // A press of an X key code in an X modifier state, as the logic names it; unnamedKey
    // for a key that no virtual key code names.
    platform::KeyEvent keyEvent(uint8_t keycode, uint16_t state) const;

private:
    X11Context& context_;
    std::unique_ptr<X11KeyCodes> codes_;
    int eventToken_ = 0;
};

}  // namespace desktop
