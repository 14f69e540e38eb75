#include "platform/sim/SimAXElements.h"

#include <algorithm>
#include <string>

namespace sim {

platform::AXError SimAXElements::refusal(const platform::AXElement& element,
                                         std::string_view attribute,
                                         const SimAXModel::AppView& view) const {
    if (!desktop_.accessibilityTrusted) return platform::axErrorAPIDisabled;
    if (desktop_.findApp(element.pid) == nullptr) return platform::axErrorInvalidUIElement;
    if (element.window != 0) return platform::axErrorAttributeUnsupported;
    const auto error = view.errors.find(std::string(attribute));
    return error != view.errors.end() ? error->second : platform::axSuccess;
}

platform::AXError SimAXElements::copyElementAttribute(const platform::AXElement& element,
                                                      std::string_view attribute,
                                                      std::optional<platform::AXElement>& value) {
    const SimAXModel::AppView view = desktop_.axModel.view(element.pid);
    if (const auto code = refusal(element, attribute, view)) return code;
    std::optional<uint32_t> window;
    if (attribute == "AXFocusedWindow") {
        window = view.focusedWindow;
    } else if (attribute == "AXMainWindow") {
        window = view.mainWindow;
    } else {
        return platform::axErrorAttributeUnsupported;
    }
    if (!window) return platform::axErrorNoValue;
    value = platform::AXElement{element.pid, *window};
    return platform::axSuccess;
}

platform::AXError SimAXElements::copyElementListAttribute(
    const platform::AXElement& element, std::string_view attribute,
    std::optional<std::vector<platform::AXElement>>& value) {
    const SimAXModel::AppView view = desktop_.axModel.view(element.pid);
    if (const auto code = refusal(element, attribute, view)) return code;
    if (attribute != "AXWindows") return platform::axErrorAttributeUnsupported;
    std::vector<platform::AXElement> windows;
    for (uint32_t number : view.windows)
        windows.push_back({element.pid, number});
    value = std::move(windows);
    return platform::axSuccess;
}

platform::AXError SimAXElements::frontmost(const platform::AXElement& element,
                                           std::string_view attribute, bool value) {
    const SimAXModel::AppView view = desktop_.axModel.view(element.pid);
    if (const auto code = refusal(element, attribute, view)) return code;
    if (attribute != "AXFrontmost") return platform::axErrorAttributeUnsupported;
    if (value) desktop_.setFrontmost(element.pid);
    return platform::axSuccess;
}

platform::AXError SimAXElements::setBooleanAttribute(const platform::AXElement& element,
                                                     std::string_view attribute, bool value) {
    const platform::AXError result = frontmost(element, attribute, value);
    desktop_.axModel.record({element, std::string(attribute), result});
    return result;
}

// Actions belong to window elements, so the window-only refusal of reads does not apply.
platform::AXError SimAXElements::raise(const platform::AXElement& element,
                                       std::string_view action) {
    if (!desktop_.accessibilityTrusted) return platform::axErrorAPIDisabled;
    if (desktop_.findApp(element.pid) == nullptr) return platform::axErrorInvalidUIElement;
    const SimAXModel::AppView view = desktop_.axModel.view(element.pid);
    const bool listed =
        std::find(view.windows.begin(), view.windows.end(), element.window) != view.windows.end();
    if (element.window == 0 || !listed) return platform::axErrorInvalidUIElement;
    if (action != "AXRaise") return platform::axErrorIllegalArgument;
    const auto error = view.errors.find(std::string(action));
    return error != view.errors.end() ? error->second : platform::axSuccess;
}

platform::AXError SimAXElements::performAction(const platform::AXElement& element,
                                               std::string_view action) {
    const platform::AXError result = raise(element, action);
    desktop_.axModel.record({element, std::string(action), result});
    return result;
}

}  // namespace sim
