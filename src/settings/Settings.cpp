#include "settings/Settings.h"

#include "platform/Platform.h"
#include "settings/ColorHex.h"

namespace Settings {

platform::Color borderColor() {
    if (auto stored = platform::defaults().stringForKey(colorKey)) {
        if (*stored == clearColorText) return platform::Color::clear();
        if (auto color = colorFromHex(*stored)) return *color;
    }
    return *colorFromHex(defaultColorHex);
}

void setBorderColor(const platform::Color& color) {
    const bool clear = color.alpha == 0;
    platform::defaults().setString(clear ? clearColorText : hexString(color), colorKey);
}

// Codes of 65536 or more can only come from an edit outside the program; they read as
// the default rather than wrapping round to some other key.
uint16_t keyCode() {
    const int64_t stored = platform::defaults().integerForKey(kcKey);
    if (stored < 2 || stored > 0xFFFF) return static_cast<uint16_t>(defaultKeyCode);
    return static_cast<uint16_t>(stored);
}

// A negative set can only come from an edit outside the program; it reads as the default.
uint64_t modifiers() {
    const int64_t stored = platform::defaults().integerForKey(modsKey);
    if (stored <= 0) return defaultModifiers;
    return static_cast<uint64_t>(stored);
}

void saveShortcut(int64_t keyCode, uint64_t modifiers) {
    platform::defaults().setInteger(keyCode > 1 ? keyCode : 1, kcKey);
    const uint64_t stored = modifiers == 0 ? defaultModifiers : modifiers;
    platform::defaults().setInteger(static_cast<int64_t>(stored), modsKey);
}

uint64_t mask(uint64_t modifierFlags) {
    return modifierFlags & useFlags;
}

uint32_t carbonOf(uint64_t modifiers) {
    uint32_t carbon = 0;
    if (modifiers & commandFlag) carbon += 0x0100;
    if (modifiers & shiftFlag) carbon += 0x0200;
    if (modifiers & optionFlag) carbon += 0x0800;
    if (modifiers & controlFlag) carbon += 0x1000;
    return carbon;
}

void resetDefaultsIfNeeded() {
    const int64_t stored = platform::defaults().integerForKey(modsKey);
    if (stored > 0 && carbonOf(static_cast<uint64_t>(stored)) != 0) return;
    platform::defaults().removeObject(kcKey);
    platform::defaults().removeObject(modsKey);
}

std::string language() {
    const auto stored = platform::defaults().stringForKey(languageKey);
    if (stored == "en") return "en";
    return "pl";
}

void setLanguage(const std::string& code) {
    platform::defaults().setString(code, languageKey);
}

}  // namespace Settings
