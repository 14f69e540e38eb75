#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/PermissionRemedy.h"
#include "platform/RunningApplication.h"

namespace platform {

// The screen-capture service's record of one window.
struct SCWindow {
    uint32_t windowID = 0;
    Rect frame;  // window-server coordinates
    std::optional<RunningApplication> owningApplication;
    bool onScreen = true;
};

struct SCShareableContent {
    std::vector<SCWindow> windows;
};

struct PlatformError {
    int64_t code = 0;
    std::string description;
};

class ShareableContent {
public:
    using Completion =
        std::function<void(std::optional<SCShareableContent>, std::optional<PlatformError>)>;

    virtual ~ShareableContent() = default;

    // Calls the completion once, on a thread other than the caller's.
    virtual void request(bool excludingDesktopWindows, bool onScreenWindowsOnly,
                         Completion completion) = 0;
    // Whether the process may capture the screen; never prompts.
    virtual bool preflightScreenCaptureAccess() const = 0;
    // How the user gets the permission where no settings page grants it; nothing where one
    // does.
    virtual std::optional<PermissionRemedy> screenCaptureRemedy() const = 0;
};

}  // namespace platform
