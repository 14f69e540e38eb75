#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The application's own resource files, addressed by absolute path.
class Bundle {
public:
    virtual ~Bundle() = default;

    // Every file with the extension in the subfolder, in a stable order; nothing when
    // the application has no resources.
    virtual std::optional<std::vector<std::string>> urlsForResources(
        const std::string& extension, const std::string& subdirectory) = 0;
    virtual std::optional<std::string> urlForResource(const std::string& name,
                                                      const std::string& extension) = 0;
};

}  // namespace platform
