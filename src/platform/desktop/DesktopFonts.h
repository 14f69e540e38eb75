#pragma once

#include <map>
#include <string>

#include "platform/Fonts.h"

namespace desktop {

// Font files registered with the toolkit for this process; a font is known by the
// PostScript name its file declares.
class DesktopFonts : public platform::Fonts {
public:
    bool registerFontsForURL(const std::string& url, int scope) override;
    std::optional<platform::Font> fontWithName(const std::string& name, double size) override;
    platform::Font systemFont(double size, int weight) override;

private:
    std::map<std::string, int> weights_;  // PostScript name to weight
};

}  // namespace desktop
