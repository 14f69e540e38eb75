#pragma once

#include "platform/Accessibility.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

class SimAccessibility : public platform::Accessibility {
public:
    explicit SimAccessibility(SimDesktop& desktop) : desktop_(desktop) {}
    bool isProcessTrusted() const override { return desktop_.accessibilityTrusted; }
    bool isProcessTrustedWithPrompt() override;
    std::optional<platform::PermissionRemedy> remedy() const override {
        return desktop_.accessibilityRemedy;
    }
    platform::WindowNumberFunction lookupWindowNumberFunction(std::string_view symbol) override;

private:
    SimDesktop& desktop_;
};

}  // namespace sim
