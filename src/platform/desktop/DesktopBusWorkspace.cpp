#include "platform/desktop/DesktopBusWorkspace.h"

#include "platform/desktop/DesktopProcessInfo.h"

namespace desktop {

std::vector<platform::RunningApplication> DesktopBusWorkspace::runningApplications(
    const std::string& bundleIdentifier) const {
    const DesktopProcessInfo self;
    if (self.bundleIdentifier() == bundleIdentifier) {
        if (const auto other = busName_.otherCopy())
            return {{self.processIdentifier(), bundleIdentifier, "Veltrin"},
                    {*other, bundleIdentifier, "Veltrin"}};
    }
    return session_->runningApplications(bundleIdentifier);
}

}  // namespace desktop
