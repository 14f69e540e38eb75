#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Color.h"

// "#66746A", "66746a" or " 66746A\n" as an opaque sRGB colour; nothing for any other text.
std::optional<platform::Color> colorFromHex(std::string_view text);

// Six upper-case hexadecimal digits of the colour's sRGB components, alpha dropped.
std::string hexString(const platform::Color& color);
