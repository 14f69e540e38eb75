#pragma once

#include <memory>

#include "platform/Workspace.h"
#include "platform/desktop/DesktopBusName.h"

namespace desktop {

// A session's workspace, with the program's own copies also met on the session bus: a copy
// that finds the bus name owned by another copy sees that copy among the running ones,
// before the session is asked (so that of two copies started at once, the one that loses
// the bus never takes the session's own mark, such as the X selection). Main thread.
class DesktopBusWorkspace : public platform::Workspace {
public:
    explicit DesktopBusWorkspace(std::unique_ptr<platform::Workspace> session)
        : session_(std::move(session)) {}

    std::optional<platform::RunningApplication> frontmostApplication() const override {
        return session_->frontmostApplication();
    }
    std::vector<platform::RunningApplication> runningApplications(
        const std::string& bundleIdentifier) const override;
    void observeTerminations(TerminationHandler handler) override {
        session_->observeTerminations(std::move(handler));
    }
    bool activate(const platform::RunningApplication& application, unsigned options) override {
        return session_->activate(application, options);
    }
    bool isValidURL(const std::string& text) const override { return session_->isValidURL(text); }
    bool openURL(const std::string& url) override { return session_->openURL(url); }

private:
    std::unique_ptr<platform::Workspace> session_;
    mutable DesktopBusName busName_;
};

}  // namespace desktop
