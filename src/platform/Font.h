#pragma once

#include <string>

namespace platform {

// A font by family member and point size, as the desktop's font registry names it.
struct Font {
    std::string name;
    double size = 0;
    std::string weight;
    bool operator==(const Font&) const = default;
};

}  // namespace platform
