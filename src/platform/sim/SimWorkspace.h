#pragma once

#include "platform/Workspace.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

class SimWorkspace : public platform::Workspace {
public:
    explicit SimWorkspace(SimDesktop& desktop) : desktop_(desktop) {}
    std::optional<platform::RunningApplication> frontmostApplication() const override {
        return desktop_.frontmostApplication();
    }
    std::vector<platform::RunningApplication> runningApplications(
        const std::string& bundleIdentifier) const override {
        return desktop_.runningApplications(bundleIdentifier);
    }
    void observeTerminations(TerminationHandler handler) override {
        desktop_.currentProcess().terminationHandlers.push_back(std::move(handler));
    }
    bool activate(const platform::RunningApplication& application, unsigned options) override;
    bool isValidURL(const std::string& text) const override;
    bool openURL(const std::string& url) override;

private:
    SimDesktop& desktop_;
};

}  // namespace sim
