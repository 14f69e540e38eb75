#pragma once

#include <string>

#include "platform/Bundle.h"

namespace desktop {

// The program's resources: beside the executable in the build tree, or under the
// install prefix (share/veltrin) after installing.
class DesktopBundle : public platform::Bundle {
public:
    explicit DesktopBundle(std::string resourcesFolder);
    // The first folder that exists among the places resources may be.
    static std::string locateResources();

    std::optional<std::vector<std::string>> urlsForResources(
        const std::string& extension, const std::string& subdirectory) override;
    std::optional<std::string> urlForResource(const std::string& name,
                                              const std::string& extension) override;

private:
    std::string folder_;
};

}  // namespace desktop
