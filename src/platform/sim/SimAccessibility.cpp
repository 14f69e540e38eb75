#include "platform/sim/SimAccessibility.h"

#include "platform/AXElements.h"

namespace sim {

bool SimAccessibility::isProcessTrustedWithPrompt() {
    if (!desktop_.accessibilityTrusted) ++desktop_.accessibilityPrompts;
    return desktop_.accessibilityTrusted;
}

platform::WindowNumberFunction SimAccessibility::lookupWindowNumberFunction(
    std::string_view symbol) {
    if (!desktop_.windowNumberFunctionPresent || symbol != "_AXUIElementGetWindow") return {};
    SimDesktop* desktop = &desktop_;
    return [desktop](const platform::AXElement& element, uint32_t& number) -> platform::AXError {
        SimWindow* window = desktop->findWindow(static_cast<uint32_t>(element.window));
        if (element.window == 0 || window == nullptr) return platform::axErrorIllegalArgument;
        number = window->number;
        return platform::axSuccess;
    };
}

}  // namespace sim
