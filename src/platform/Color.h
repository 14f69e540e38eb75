#pragma once

#include <optional>

namespace platform {

// A colour as the desktop knows it: the space it was made in and its components.
// Equality is that of colour objects: same space, same components.
struct Color {
    enum class Space { sRGB, calibratedRGB, gray, pattern };

    Space space = Space::sRGB;
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    bool operator==(const Color&) const = default;

    static Color sRGB(double r, double g, double b, double a) { return {Space::sRGB, r, g, b, a}; }
    static Color calibrated(double r, double g, double b, double a) {
        return {Space::calibratedRGB, r, g, b, a};
    }
    static Color white(double alpha) { return {Space::gray, 1, 1, 1, alpha}; }
    static Color black() { return {Space::gray, 0, 0, 0, 1}; }
    static Color clear() { return {Space::gray, 0, 0, 0, 0}; }

    // The same colour in sRGB, or nothing for a colour without such a conversion.
    std::optional<Color> inSRGB() const {
        if (space == Space::pattern) return std::nullopt;
        return Color{Space::sRGB, red, green, blue, alpha};
    }
};

}  // namespace platform
