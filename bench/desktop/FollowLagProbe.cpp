#include "FollowLagProbe.h"

#include <vector>

#include "FrameLine.h"
#include "MonotonicClock.h"
#include "PinnedClient.h"
#include "ProcessCpu.h"

namespace {

constexpr int home = 40;  // where the client starts

}  // namespace

// Moves alternate between the client's home and a varying place, so each one changes the
// frame's rectangle. Every new rectangle the frame takes is remembered, for the panel may
// follow a later one.
FollowLagProbe::Sample FollowLagProbe::measure(PinnedClient& pinned, int64_t timeoutNs) {
    const int offset = 30 + (step_ % 5) * 7;
    const int x = step_ % 2 == 0 ? home + offset : home;
    const int y = step_ % 2 == 0 ? home + offset / 2 : home;
    ++step_;
    FrameLine::discardAll(pinned.client());
    watcher_.drain();
    const xcb_window_t frame = pinned.frame();
    const auto before = pinned.frameRect();
    const double programWaited = ProcessCpu::waitingSeconds(program_);
    const double serverWaited = ProcessCpu::waitingSeconds(server_);
    const int64_t requestNs = monotonicNs();
    pinned.client().send("move " + std::to_string(x) + " " + std::to_string(y));
    std::vector<RootWatcher::Configure> frameMoves;
    while (const auto event = watcher_.next(requestNs + timeoutNs)) {
        if (event->window == frame && event->rect != before) frameMoves.push_back(*event);
        if (event->window != pinned.panel()) continue;
        for (const auto& move : frameMoves) {
            if (move.rect.grownBy(PinnedClient::margin) != event->rect) continue;
            return {true,
                    millisecondsBetween(move.readNs, event->readNs),
                    millisecondsBetween(requestNs, event->readNs),
                    move.read == event->read,
                    (ProcessCpu::waitingSeconds(program_) - programWaited) * 1000,
                    (ProcessCpu::waitingSeconds(server_) - serverWaited) * 1000};
        }
    }
    return {};
}
