#include "settings/ColorHex.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The platform's integer parsing: one optional sign, then digits only. A negative value
// is representable only as zero in an unsigned result.
std::optional<uint32_t> parseUnsignedHex(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    if (negative && value != 0) return std::nullopt;
    return value;
}

// Nearest whole number, halves away from zero; kept within one byte. A component that is
// not a number (or infinite) counts as 0, so the text always has six digits.
int component255(double component) {
    if (!std::isfinite(component)) return 0;
    const double scaled = std::round(component * 255.0);
    return static_cast<int>(scaled < 0 ? 0 : scaled > 255 ? 255 : scaled);
}

}  // namespace

std::optional<platform::Color> colorFromHex(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    const auto value = parseUnsignedHex(text);
    if (!value) return std::nullopt;
    return platform::Color::sRGB(((*value >> 16) & 0xFF) / 255.0, ((*value >> 8) & 0xFF) / 255.0,
                                 (*value & 0xFF) / 255.0, 1.0);
}

std::string hexString(const platform::Color& color) {
    const auto srgb = color.inSRGB();
    if (!srgb) return "66746A";
    char text[32];
    std::snprintf(text, sizeof text, "%02X%02X%02X", component255(srgb->red),
                  component255(srgb->green), component255(srgb->blue));
    return text;
}
