#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/SimFontBook.h"
#include "platform/sim/SimHotKeyCenter.h"
#include "platform/sim/SimImageStore.h"
#include "platform/sim/SimMenuBar.h"

namespace sim {

class SimDesktop;

// The desktop's side of the shell services: hot keys, the menu bar, fonts, images and
// the application's resources folder.
class SimShell {
public:
    explicit SimShell(SimDesktop& desktop) : hotKeys(desktop), menuBar(desktop) {}

    SimHotKeyCenter hotKeys;
    SimMenuBar menuBar;
    SimFontBook fonts;
    SimImageStore images;
    // The application's resources; none means a bundle without any.
    std::optional<std::string> resourcesDirectory;

    std::optional<std::vector<std::string>> resourceURLs(const std::string& extension,
                                                         const std::string& subdirectory) const;
    std::optional<std::string> resourceURL(const std::string& name,
                                           const std::string& extension) const;
};

}  // namespace sim
