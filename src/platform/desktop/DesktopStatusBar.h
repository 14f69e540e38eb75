#pragma once

#include "platform/StatusBar.h"

namespace desktop {

// The tray is not wired yet: items have no button, so the program runs by its shortcut.
class DesktopStatusBar : public platform::StatusBar {
public:
    std::shared_ptr<platform::StatusItem> statusItem(double length) override;
};

}  // namespace desktop
