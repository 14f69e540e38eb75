#pragma once

#include "platform/Fonts.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// Font registration and look-up for the running copy.
class SimFonts : public platform::Fonts {
public:
    explicit SimFonts(SimDesktop& desktop) : desktop_(desktop) {}
    bool registerFontsForURL(const std::string& url, int scope) override;
    std::optional<platform::Font> fontWithName(const std::string& name, double size) override;
    platform::Font systemFont(double size, int weight) override;

private:
    SimDesktop& desktop_;
};

}  // namespace sim
