#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/AXElements.h"

namespace sim {

class SimDesktop;

// The accessibility view of each application: its focused, main and listed windows, and
// a result code per attribute. An application that nobody configured shows its windows
// in the desktop's order, the first on-screen one focused and main.
class SimAXModel {
public:
    struct AppView {
        std::optional<uint32_t> focusedWindow;
        std::optional<uint32_t> mainWindow;
        std::vector<uint32_t> windows;
        std::map<std::string, platform::AXError> errors;  // by attribute name
    };

    // An attribute set or an action performed, with the result it gave.
    struct Request {
        platform::AXElement element;
        std::string name;  // "AXFrontmost", "AXRaise", ...
        platform::AXError result = 0;
    };

    explicit SimAXModel(SimDesktop& desktop) : desktop_(desktop) {}

    // The view as the service reports it now.
    AppView view(int32_t pid) const;
    // Settings for one application; its first setting starts from the view it showed.
    void setFocusedWindow(int32_t pid, std::optional<uint32_t> window);
    void setMainWindow(int32_t pid, std::optional<uint32_t> window);
    void setWindows(int32_t pid, std::vector<uint32_t> windows);
    // A result code for every later read of the attribute (0 to clear it).
    void setError(int32_t pid, const std::string& attribute, platform::AXError code);
    // Attributes set and actions performed, oldest first. An attribute or action name given
    // to setError makes those requests fail too.
    void record(Request request);
    std::vector<Request> requests() const;

private:
    AppView derivedView(int32_t pid) const;
    AppView& configured(int32_t pid);

    SimDesktop& desktop_;
    mutable std::mutex mutex_;
    std::map<int32_t, AppView> apps_;
    std::vector<Request> requests_;
};

}  // namespace sim
