#pragma once

#include <optional>
#include <string>

#include "platform/Font.h"

namespace platform {

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
