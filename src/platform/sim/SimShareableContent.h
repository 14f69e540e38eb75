#pragma once

#include "platform/ShareableContent.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// Lists the desktop's windows as they are at the request and answers on a service
// thread; without the Screen Recording permission the request fails.
class SimShareableContent : public platform::ShareableContent {
public:
    explicit SimShareableContent(SimDesktop& desktop) : desktop_(desktop) {}
    void request(bool excludingDesktopWindows, bool onScreenWindowsOnly,
                 Completion completion) override;
    bool preflightScreenCaptureAccess() const override { return desktop_.screenCaptureAllowed; }
    std::optional<platform::PermissionRemedy> screenCaptureRemedy() const override {
        return desktop_.screenCaptureRemedy;
    }

private:
    SimDesktop& desktop_;
};

}  // namespace sim
