#include "platform/desktop/DesktopStatusBar.h"

#include "platform/desktop/DesktopTrayItem.h"

namespace desktop {

std::shared_ptr<platform::StatusItem> DesktopStatusBar::statusItem(double) {
    return std::make_shared<DesktopTrayItem>();
}

}  // namespace desktop
