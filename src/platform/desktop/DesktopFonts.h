#pragma once

#include <map>
#include <string>

#include "platform/Fonts.h"

class QFont;

namespace desktop {

// Font files registered with the toolkit for this process; a font is known by the
// PostScript name its file declares, with the weight its file declares.
class DesktopFonts : public platform::Fonts {
public:
    bool registerFontsForURL(const std::string& url, int scope) override;
    std::optional<platform::Font> fontWithName(const std::string& name, double size) override;
    // The desktop's interface font, in the weight asked for.
    platform::Font systemFont(double size, int weight) override;

    // The toolkit's font for one this service handed out, to draw text with.
    QFont toolkitFont(const platform::Font& font) const;

private:
    struct Face {
        std::string family;
        int weight = 400;
    };
    std::map<std::string, Face> faces_;  // by PostScript name
};

}  // namespace desktop
