#include "settings/Swatch.h"

#include "settings/ColorHex.h"
#include "settings/L10n.h"

std::vector<Swatch> Swatch::all() {
    static const std::pair<const char*, const char*> named[] = {
        {"Slate", "#6B7A8F"}, {"Lavender", "#9B8CFF"}, {"Teal", "#3DB6A6"},
        {"Rose", "#F2708F"},  {"Amber", "#F2B23E"},    {"Mint", "#7ED6A5"},
    };
    std::vector<Swatch> swatches;
    for (const auto& [name, hex] : named)
        swatches.push_back({name, *colorFromHex(hex)});
    swatches.push_back({L10n::swatchNone(), platform::Color::clear()});
    return swatches;
}
