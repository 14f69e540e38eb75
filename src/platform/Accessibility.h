#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/PermissionRemedy.h"

namespace platform {

using AXError = int32_t;

// An accessibility element: an application (window 0) or one of its windows.
struct AXElement {
    int32_t pid = 0;
    uint64_t window = 0;
    bool operator==(const AXElement&) const = default;
};

// Gives the window-server number of a window element; empty when the desktop has none.
using WindowNumberFunction = std::function<AXError(const AXElement& element, uint32_t& number)>;

class Accessibility {
public:
    virtual ~Accessibility() = default;

    virtual bool isProcessTrusted() const = 0;
    // The same question; the desktop prompts the user when the permission is missing.
    virtual bool isProcessTrustedWithPrompt() = 0;
    // How the user gets the permission where no settings page grants it; nothing where one
    // does.
    virtual std::optional<PermissionRemedy> remedy() const = 0;
    // Looks a private function up by name in the program's own symbol scope.
    virtual WindowNumberFunction lookupWindowNumberFunction(std::string_view symbol) = 0;
};

}  // namespace platform
