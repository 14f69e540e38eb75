#include "platform/sim/SimFonts.h"

namespace sim {

bool SimFonts::registerFontsForURL(const std::string& url, int scope) {
    if (scope != processScope) return false;  // the only scope this desktop offers
    return desktop_.shell.fonts.registerFile(desktop_.currentProcess().pid, url);
}

std::optional<platform::Font> SimFonts::fontWithName(const std::string& name, double size) {
    const auto face = desktop_.shell.fonts.find(desktop_.currentProcess().pid, name);
    if (!face) return std::nullopt;
    return platform::Font{face->postScriptName, size, face->weight, false};
}

platform::Font SimFonts::systemFont(double size, int weight) {
    return {SimFontBook::systemFontName, size, weight, true};
}

}  // namespace sim
