#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A key with modifiers as written on the command line: "alt+p", "ctrl+shift+F5", "num_lock".
// Modifier names: shift, ctrl, alt, super; key names: letters, digits, f1..f24, space,
// escape, return, tab, backspace, delete, left, right, up, down, num_lock, caps_lock.
struct KeyCombination {
    uint32_t keysym = 0;
    uint16_t modifierMask = 0;           // X modifier bits: Shift, Control, Mod1, Mod4
    std::vector<uint32_t> modifierKeys;  // keysyms to hold down, in the order written

    static std::optional<KeyCombination> parse(const std::string& text);
};
