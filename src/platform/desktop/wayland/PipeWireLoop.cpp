#include "platform/desktop/wayland/PipeWireLoop.h"

#include <pipewire/pipewire.h>

namespace desktop {
PipeWireLoop* PipeWireLoop::make() {
    pw_init(nullptr, nullptr);
    pw_thread_loop* loop = pw_thread_loop_new("veltrin-capture", nullptr);
    if (loop == nullptr) return nullptr;
    pw_context* context = pw_context_new(pw_thread_loop_get_loop(loop), nullptr, 0);
    if (context == nullptr || pw_thread_loop_start(loop) < 0) {
        if (context != nullptr) pw_context_destroy(context);
        pw_thread_loop_destroy(loop);
        return nullptr;
    }
    return new PipeWireLoop(loop, context);
}

PipeWireLoop* PipeWireLoop::shared() {
    static PipeWireLoop* const loop = make();
    return loop;
}

PipeWireLoop::Lock::Lock(const PipeWireLoop& loop) : loop_(loop.loop()) {
    pw_thread_loop_lock(loop_);
}

PipeWireLoop::Lock::~Lock() {
    pw_thread_loop_unlock(loop_);
}

}  // namespace desktop
