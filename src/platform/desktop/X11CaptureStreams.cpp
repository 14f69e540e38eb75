#include "platform/desktop/X11Services.h"

namespace desktop {

// Not written yet.
std::unique_ptr<platform::CaptureStreams> makeCaptureStreams(X11Context&) {
    return nullptr;
}

}  // namespace desktop
