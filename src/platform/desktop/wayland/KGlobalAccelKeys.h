#pragma once

#include <cstdint>
#include <optional>

namespace desktop {

// The logic's combination (a virtual key code of the US layout and an event-manager
// modifier mask: command 0x100, shift 0x200, option 0x800, control 0x1000) as the key
// number that KGlobalAccel stores: a Qt key and Qt modifiers or'ed together. Command is
// the Meta (Super) key. Nothing for key codes without a key.
std::optional<int> kglobalAccelKeyOf(uint32_t keyCode, uint32_t modifiers);

}  // namespace desktop
