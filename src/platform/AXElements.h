#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Accessibility.h"

namespace platform {

// Result codes of the accessibility service that the logic and the desktops share.
inline constexpr AXError axSuccess = 0;
inline constexpr AXError axErrorFailure = -25200;
inline constexpr AXError axErrorIllegalArgument = -25201;
inline constexpr AXError axErrorInvalidUIElement = -25202;
inline constexpr AXError axErrorAttributeUnsupported = -25205;
inline constexpr AXError axErrorAPIDisabled = -25211;
inline constexpr AXError axErrorNoValue = -25212;

// The accessibility elements of applications and their windows, read through attributes.
// Every read returns its own result code; a value is given only with success.
class AXElements {
public:
    virtual ~AXElements() = default;

    virtual AXElement applicationElement(int32_t pid) = 0;
    // An attribute whose value is one element ("AXFocusedWindow", "AXMainWindow").
    virtual AXError copyElementAttribute(const AXElement& element, std::string_view attribute,
                                         std::optional<AXElement>& value) = 0;
    // An attribute whose value is a list of elements ("AXWindows").
    virtual AXError copyElementListAttribute(const AXElement& element, std::string_view attribute,
                                             std::optional<std::vector<AXElement>>& value) = 0;
    // Sets a Boolean attribute ("AXFrontmost" of an application).
    virtual AXError setBooleanAttribute(const AXElement& element, std::string_view attribute,
                                        bool value) = 0;
    // Performs an action ("AXRaise" of a window).
    virtual AXError performAction(const AXElement& element, std::string_view action) = 0;
};

}  // namespace platform
