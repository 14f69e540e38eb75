#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace platform {

// This process: its identifier, environment and main bundle.
class ProcessInfo {
public:
    virtual ~ProcessInfo() = default;

    virtual int32_t processIdentifier() const = 0;
    virtual std::map<std::string, std::string> environment() const = 0;
    virtual std::optional<std::string> bundleIdentifier() const = 0;
};

}  // namespace platform
