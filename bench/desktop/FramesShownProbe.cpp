#include "FramesShownProbe.h"

#include <algorithm>
#include <set>
#include <thread>

#include "FrameLine.h"
#include "MonotonicClock.h"
#include "PinnedClient.h"

namespace {

using namespace std::chrono_literals;

constexpr int64_t watchNs = 1'500'000'000;  // the second of animation and the last frame's way

}  // namespace

FramesShownProbe::Sample FramesShownProbe::measure(PinnedClient& pinned) {
    const PanelProbe probe = pinned.probe();
    const int x = pinned.sampleX(), y = pinned.sampleY();
    FrameLine::discardAll(pinned.client());
    std::set<uint32_t> seen;
    Sample sample;
    int64_t previousNs = monotonicNs();
    const int64_t endNs = previousNs + watchNs;
    pinned.client().send("animate 60 1");
    while (previousNs < endNs) {
        if (const auto pixel = probe.pixel(x, y)) seen.insert(*pixel);
        const int64_t now = monotonicNs();
        sample.pollGapMs = std::max(sample.pollGapMs, millisecondsBetween(previousNs, now));
        previousNs = now;
        std::this_thread::sleep_for(1ms);
    }
    while (const auto frame = FrameLine::next(pinned.client(), 500ms)) {
        ++sample.drawn;
        sample.shown += seen.contains(frame->color) ? 1 : 0;
    }
    sample.panelLost = !probe.covers(x, y);
    return sample;
}
