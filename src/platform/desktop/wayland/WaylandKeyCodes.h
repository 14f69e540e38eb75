#pragma once

#include <cstdint>

#include "platform/KeyMonitors.h"

namespace desktop {

// A key press as the toolkit's Wayland platform gives it (an XKB key code, which is the
// kernel's code plus 8, the keysym it yields in the layout in use, 0 for none, and the XKB
// modifier mask of the usual keymaps: shift 0x1, control 0x4, alt 0x8, super 0x40) as the
// logic reads it, with the modifier flags. The shortcut service fires a combination on the
// key that bears its symbol, so the key is the virtual key code of the keysym; the key's
// place on the US layout names it when the keysym has no code, or when shift turned it into
// another level's symbol (a letter's capital still names its letter). KeyNaming::unnamedKey
// when neither names it.
platform::KeyEvent waylandKeyEvent(uint32_t keycode, uint32_t keysym, uint32_t modifiers);

}  // namespace desktop
