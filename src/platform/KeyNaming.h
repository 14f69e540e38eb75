#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// How this desktop writes keys in a shortcut's text, and which keys its keyboard has.
// Main thread only.
class KeyNaming {
public:
    // The key code of a press that no virtual key code names.
    static constexpr uint16_t unnamedKey = 0xFFFF;

    virtual ~KeyNaming() = default;
    // The name of one modifier flag: control, option, shift, command or function.
    virtual std::string modifierName(uint64_t flag) const = 0;
    // This desktop's own name of a key; nothing where the common legend serves.
    virtual std::optional<std::string> keyName(int64_t keyCode) const = 0;
    // Whether a key of the keyboard layout in use gives the virtual key code.
    virtual bool hasKey(int64_t keyCode) const = 0;
};

}  // namespace platform
