#include "platform/sim/SimAXElements.h"

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

}  // namespace sim
