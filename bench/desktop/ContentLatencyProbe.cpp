#include "ContentLatencyProbe.h"

#include <algorithm>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "FrameLine.h"
#include "MonotonicClock.h"
#include "PinnedClient.h"

namespace {

constexpr auto pollInterval = std::chrono::microseconds(200);

// When the panel first showed `color`, among the changes seen so far.
std::optional<int64_t> shownAt(const std::vector<std::pair<int64_t, uint32_t>>& changes,
                               uint32_t color) {
    for (const auto& [when, seen] : changes)
        if (seen == color) return when;
    return std::nullopt;
}

}  // namespace

// The panel is polled from before the client is asked to draw, and every change of the
// pixel is kept with its time: the client's line may arrive after the panel changed.
ContentLatencyProbe::Sample ContentLatencyProbe::measure(PinnedClient& pinned, int64_t timeoutNs) {
    const PanelProbe probe = pinned.probe();
    const int x = pinned.sampleX(), y = pinned.sampleY();
    FrameLine::discardAll(pinned.client());
    std::optional<uint32_t> last = probe.pixel(x, y);
    std::vector<std::pair<int64_t, uint32_t>> changes;
    std::optional<FrameLine> frame;
    Sample sample;
    int64_t previousNs = monotonicNs();
    const int64_t deadlineNs = previousNs + timeoutNs;
    pinned.client().send("animate 1 1");  // one frame, drawn at once
    for (int64_t now = previousNs; now < deadlineNs; now = monotonicNs()) {
        const auto pixel = probe.pixel(x, y);
        const int64_t seenNs = monotonicNs();
        sample.pollGapMs = std::max(sample.pollGapMs, millisecondsBetween(previousNs, seenNs));
        previousNs = seenNs;
        if (pixel && pixel != last) changes.emplace_back(seenNs, *pixel);
        last = pixel;
        if (!frame) frame = FrameLine::next(pinned.client(), std::chrono::milliseconds(0));
        const auto when = frame ? shownAt(changes, frame->color) : std::nullopt;
        if (when) {
            sample.shown = true;
            sample.latencyMs = millisecondsBetween(frame->drawnNs, *when);
            break;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    sample.panelLost = !probe.covers(x, y);
    return sample;
}
