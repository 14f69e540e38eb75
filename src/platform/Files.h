#pragma once

#include <string>
#include <string_view>

namespace platform {

class Files {
public:
    virtual ~Files() = default;
    // Appends the bytes to the file in one write, creating it (owner-only) when absent.
    // Never follows a symbolic link at the path; a failure loses the bytes silently.
    virtual void appendRecord(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace platform
