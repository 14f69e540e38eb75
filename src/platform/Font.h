#pragma once

#include <string>

namespace platform {

// Weights on the 100 to 900 scale that font files and toolkits share.
namespace FontWeight {
inline constexpr int regular = 400;
inline constexpr int semibold = 600;
inline constexpr int bold = 700;
inline constexpr int black = 900;
}  // namespace FontWeight

// A font as the desktop hands it out.
struct Font {
    std::string name;  // PostScript name
    double size = 0;
    int weight = FontWeight::regular;
    bool system = false;  // the desktop's own interface font
    bool operator==(const Font&) const = default;
};

}  // namespace platform
