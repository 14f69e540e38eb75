#include "platform/desktop/X11Services.h"

namespace desktop {

// Not written yet.
std::unique_ptr<platform::ShareableContent> makeShareableContent(X11Context&, platform::Dispatch&) {
    return nullptr;
}

}  // namespace desktop
