#pragma once

#include <cstdint>
#include <string>

#include "platform/Color.h"

// The persisted preferences, read anew from the user defaults on every access.
namespace Settings {

inline constexpr const char* colorKey = "borderColorHex";
inline constexpr const char* kcKey = "hotkeyKeyCode";
inline constexpr const char* modsKey = "hotkeyModifiers";
inline constexpr const char* languageKey = "appLanguage";

// Keyboard-event modifier flags: shift, control, option, command, function.
inline constexpr uint64_t shiftFlag = 0x20000;
inline constexpr uint64_t controlFlag = 0x40000;
inline constexpr uint64_t optionFlag = 0x80000;
inline constexpr uint64_t commandFlag = 0x100000;
inline constexpr uint64_t functionFlag = 0x800000;
inline constexpr uint64_t useFlags = 0x9E0000;

inline constexpr int64_t defaultKeyCode = 35;  // P
inline constexpr uint64_t defaultModifiers = optionFlag;
inline constexpr const char* defaultColorHex = "#66746A";
// Stored for a fully transparent colour: no frame. Six digits would drop the alpha and
// read back as an opaque colour.
inline constexpr const char* clearColorText = "clear";

// The stored colour, the clear colour for "no frame", or the default.
platform::Color borderColor();
// Six digits for any colour that shows, clearColorText for one that does not.
void setBorderColor(const platform::Color& color);

uint16_t keyCode();
uint64_t modifiers();
void saveShortcut(int64_t keyCode, uint64_t modifiers);
uint64_t mask(uint64_t modifierFlags);
uint32_t carbonOf(uint64_t modifiers);
void resetDefaultsIfNeeded();

std::string language();
void setLanguage(const std::string& code);

}  // namespace Settings
