#pragma once

#include <string>

#include "platform/Bundle.h"

namespace desktop {

// The program's resources: under the install prefix (share/veltrin) after installing,
// beside the executable, or in the source tree that the build came from.
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
    // Says once which folder the resources come from: the log is not open before launch.
    bool haveFolder();

    std::string folder_;
    bool told_ = false;
};

}  // namespace desktop
