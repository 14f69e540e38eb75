#include "platform/desktop/x11/X11FrameScratch.h"

#include <utility>

namespace desktop {

X11FrameScratch::Buffers X11FrameScratch::take() {
    std::lock_guard lock(mutex_);
    if (held_) return {};
    held_ = true;
    Buffers buffers = std::move(spare_);
    buffers.pooled = true;
    return buffers;
}

// A frame's own memory is simply freed.
void X11FrameScratch::giveBack(Buffers buffers) {
    if (!buffers.pooled) return;
    std::lock_guard lock(mutex_);
    spare_ = std::move(buffers);
    held_ = false;
}

}  // namespace desktop
