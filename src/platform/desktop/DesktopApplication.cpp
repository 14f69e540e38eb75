#include "platform/desktop/DesktopApplication.h"

#include <QCoreApplication>

namespace desktop {

void DesktopApplication::run() {
    dispatch_.mainAsync([this] {
        if (delegate_ != nullptr) delegate_->applicationDidFinishLaunching();
    });
    QCoreApplication::exec();
}

void DesktopApplication::terminate() {
    // Leaves the loop once the current work is done, as the desktop's own quit does.
    dispatch_.mainAsync([] { QCoreApplication::exit(0); });
}

}  // namespace desktop
