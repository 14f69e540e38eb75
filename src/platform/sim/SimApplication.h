#pragma once

#include "platform/Application.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// The application object of the running copy. The main loop is the desktop's main
// queue, which its owner drains, so run() schedules the launch and returns.
class SimApplication : public platform::Application {
public:
    explicit SimApplication(SimDesktop& desktop) : desktop_(desktop) {}
    void setActivationPolicy(int policy) override;
    void setDelegate(platform::ApplicationDelegate* delegate) override;
    void run() override;
    void terminate() override { desktop_.terminateCurrentProcess(); }
    void activateIgnoringOtherApps(bool flag) override;
    void showMessage(const std::string& title, const std::string& text,
                     const std::string& buttonTitle) override {
        desktop_.messages.push_back({title, text, buttonTitle});
    }

private:
    SimDesktop& desktop_;
};

}  // namespace sim
