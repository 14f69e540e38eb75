#include "platform/sim/SimWorkspace.h"

#include <algorithm>
#include <cctype>

namespace sim {

bool SimWorkspace::activate(const platform::RunningApplication& application, unsigned) {
    SimApp* app = desktop_.findApp(application.processIdentifier);
    if (app == nullptr || !app->acceptsActivation) return false;
    desktop_.activations.push_back(application.processIdentifier);
    desktop_.setFrontmost(application.processIdentifier);
    return true;
}

// An address needs a scheme of letters followed by a colon, and no white space.
bool SimWorkspace::isValidURL(const std::string& text) const {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    if (!std::isalpha(static_cast<unsigned char>(text[0]))) return false;
    return std::none_of(text.begin(), text.end(),
                        [](unsigned char c) { return std::isspace(c) || c < 0x20; });
}

bool SimWorkspace::openURL(const std::string& url) {
    if (!isValidURL(url)) return false;
    desktop_.openedURLs.push_back(url);
    return true;
}

}  // namespace sim
