#pragma once

#include <cstdint>

#include "platform/KeyMonitors.h"

namespace desktop {

// A key press as the toolkit's Wayland platform gives it (an XKB key code, which is the
// kernel's code plus 8, and the XKB modifier mask of the usual keymaps: shift 0x1, control
// 0x4, alt 0x8, super 0x40) as the logic reads it: the virtual key code of the key in that
// place of the US layout, or KeyNaming::unnamedKey, with the modifier flags.
platform::KeyEvent waylandKeyEvent(uint32_t keycode, uint32_t modifiers);

}  // namespace desktop
