#pragma once

#include "platform/StatusBar.h"

namespace desktop {

// Status items live in the desktop's system tray; the length is the tray's to choose.
class DesktopStatusBar : public platform::StatusBar {
public:
    std::shared_ptr<platform::StatusItem> statusItem(double length) override;
};

}  // namespace desktop
