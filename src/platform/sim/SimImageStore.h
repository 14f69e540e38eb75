#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/Geometry.h"

namespace sim {

// The desktop's symbol set and the application's image resources that are not files.
struct SimImageStore {
    static constexpr double symbolSide = 16;

    std::set<std::string> symbols{"pin",           "pin.slash", "accessibility",
                                  "record.circle", "gearshape", "power"};
    // Named images of the application (an asset catalogue), with their sizes.
    std::map<std::string, platform::Size> namedImages;
};

}  // namespace sim
