#include "platform/desktop/X11Services.h"

namespace desktop {

// Not written yet.
std::unique_ptr<platform::Windows> makeWindows(X11Context&, DesktopTransaction&) {
    return nullptr;
}

}  // namespace desktop
