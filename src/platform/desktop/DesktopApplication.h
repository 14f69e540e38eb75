#pragma once

#include "platform/Application.h"
#include "platform/Dispatch.h"

namespace desktop {

// The toolkit's application object and its event loop.
class DesktopApplication : public platform::Application {
public:
    explicit DesktopApplication(platform::Dispatch& dispatch) : dispatch_(dispatch) {}

    void setActivationPolicy(int) override {}  // a tray program has no other kind
    void setDelegate(platform::ApplicationDelegate* delegate) override { delegate_ = delegate; }
    // Tells the delegate that launching is done from inside the loop, then runs the loop.
    void run() override;
    void terminate() override;
    void activateIgnoringOtherApps(bool) override {}
    void showMessage(const std::string& title, const std::string& text,
                     const std::string& buttonTitle) override;

private:
    platform::Dispatch& dispatch_;
    platform::ApplicationDelegate* delegate_ = nullptr;
};

}  // namespace desktop
