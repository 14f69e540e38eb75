#include "platform/desktop/X11Services.h"

namespace desktop {

// Not written yet.
std::unique_ptr<platform::DisplayLinks> makeDisplayLinks(X11Context&) {
    return nullptr;
}

}  // namespace desktop
