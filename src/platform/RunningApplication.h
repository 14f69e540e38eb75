#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// A running application as the workspace reports it.
struct RunningApplication {
    int32_t processIdentifier = 0;
    std::optional<std::string> bundleIdentifier;
    std::optional<std::string> localizedName;

    bool operator==(const RunningApplication&) const = default;
};

}  // namespace platform
