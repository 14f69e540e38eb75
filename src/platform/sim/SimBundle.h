#pragma once

#include "platform/Bundle.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// The resources folder that the desktop was given.
class SimBundle : public platform::Bundle {
public:
    explicit SimBundle(SimDesktop& desktop) : desktop_(desktop) {}
    std::optional<std::vector<std::string>> urlsForResources(
        const std::string& extension, const std::string& subdirectory) override {
        return desktop_.shell.resourceURLs(extension, subdirectory);
    }
    std::optional<std::string> urlForResource(const std::string& name,
                                              const std::string& extension) override {
        return desktop_.shell.resourceURL(name, extension);
    }

private:
    SimDesktop& desktop_;
};

}  // namespace sim
