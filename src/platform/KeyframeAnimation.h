#pragma once

#include <limits>
#include <string>
#include <vector>

namespace platform {

// A keyframe animation of one layer property, as added to a layer under a key.
struct KeyframeAnimation {
    static constexpr double infinite = std::numeric_limits<double>::infinity();

    std::string keyPath;
    std::vector<double> values;
    std::vector<double> keyTimes;  // empty: the values are spread evenly
    double duration = 0;
    double repeatCount = 0;  // 0 runs once; `infinite` never ends
    bool autoreverses = false;
    bool removedOnCompletion = true;

    bool operator==(const KeyframeAnimation&) const = default;

    // Seconds from its start until it has run its course; infinite when it repeats forever.
    double activeDuration() const {
        const double runs = repeatCount > 0 ? repeatCount : 1;
        return duration * runs * (autoreverses ? 2 : 1);
    }
};

}  // namespace platform
