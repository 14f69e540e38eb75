#pragma once

#include <optional>
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

class Fonts {
public:
    // Registered fonts are visible to this process only, for its lifetime.
    static constexpr int processScope = 1;

    virtual ~Fonts() = default;

    // Makes the fonts of a file known by the PostScript names the file declares.
    virtual bool registerFontsForURL(const std::string& url, int scope) = 0;
    virtual std::optional<Font> fontWithName(const std::string& name, double size) = 0;
    virtual Font systemFont(double size, int weight) = 0;
};

}  // namespace platform
