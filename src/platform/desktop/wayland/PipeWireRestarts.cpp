#include "platform/desktop/wayland/PipeWireRestarts.h"

#include <pipewire/pipewire.h>

#include "platform/desktop/wayland/PipeWireLoop.h"

namespace desktop {
namespace {

// A first restart brings a frame within about 0.1 s; one in four on a loaded machine falls
// between the steps of the renegotiation and needs a second.
constexpr int tries = 20;
constexpr long intervalNanoseconds = 100'000'000;

pw_loop* loopOf(PipeWireLoop& loop) {
    return pw_thread_loop_get_loop(loop.loop());
}

}  // namespace

PipeWireRestarts::PipeWireRestarts(PipeWireLoop& loop, pw_stream* stream)
    : loop_(loop), stream_(stream) {
    timer_ = pw_loop_add_timer(
        loopOf(loop_), [](void* data, uint64_t) { static_cast<PipeWireRestarts*>(data)->tick(); },
        this);
}

PipeWireRestarts::~PipeWireRestarts() {
    if (timer_ != nullptr) pw_loop_destroy_source(loopOf(loop_), timer_);
}

void PipeWireRestarts::renegotiated() {
    left_ = tries;
    restart();
    arm(true);
}

void PipeWireRestarts::frameArrived() {
    if (left_ == 0) return;
    left_ = 0;
    arm(false);
}

void PipeWireRestarts::restart() {
    pw_stream_set_active(stream_, false);
    pw_stream_set_active(stream_, true);
}

void PipeWireRestarts::tick() {
    if (left_ == 0) return arm(false);
    --left_;
    restart();
}

void PipeWireRestarts::arm(bool on) {
    if (timer_ == nullptr) return;
    timespec interval{0, intervalNanoseconds};
    pw_loop_update_timer(loopOf(loop_), timer_, on ? &interval : nullptr, on ? &interval : nullptr,
                         false);
}

}  // namespace desktop
