#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace desktop {

// How Linux desktops' own shortcut editors write a modifier flag ("Ctrl", "Super") and the
// keys without a plain legend ("PgUp", "Backspace"); empty or nothing for the others.
std::string linuxModifierName(uint64_t flag);
std::optional<std::string> linuxKeyName(int64_t keyCode);

}  // namespace desktop
