#pragma once

#include "platform/AXElements.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// Reads the desktop's accessibility model. Without the Accessibility permission every
// read is refused; a window element here is {owner pid, window number}.
class SimAXElements : public platform::AXElements {
public:
    explicit SimAXElements(SimDesktop& desktop) : desktop_(desktop) {}

    platform::AXElement applicationElement(int32_t pid) override { return {pid, 0}; }
    platform::AXError copyElementAttribute(const platform::AXElement& element,
                                           std::string_view attribute,
                                           std::optional<platform::AXElement>& value) override;
    platform::AXError copyElementListAttribute(
        const platform::AXElement& element, std::string_view attribute,
        std::optional<std::vector<platform::AXElement>>& value) override;
    // "AXFrontmost" true makes the application frontmost; every request is recorded.
    platform::AXError setBooleanAttribute(const platform::AXElement& element,
                                          std::string_view attribute, bool value) override;
    // "AXRaise" of a window the application lists; every request is recorded.
    platform::AXError performAction(const platform::AXElement& element,
                                    std::string_view action) override;

private:
    // The code that refuses the read before any value is looked at, or success.
    platform::AXError refusal(const platform::AXElement& element, std::string_view attribute,
                              const SimAXModel::AppView& view) const;
    platform::AXError frontmost(const platform::AXElement& element, std::string_view attribute,
                                bool value);
    platform::AXError raise(const platform::AXElement& element, std::string_view action);

    SimDesktop& desktop_;
};

}  // namespace sim
