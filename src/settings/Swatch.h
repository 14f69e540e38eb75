#pragma once

#include <string>
#include <vector>

#include "platform/Color.h"

// A named border colour to choose from.
struct Swatch {
    std::string name;
    platform::Color color;

    // Seven swatches in display order; the last one, no colour, is named in the current
    // language.
    static std::vector<Swatch> all();
};
