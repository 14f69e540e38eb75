#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <thread>

#include "LatencyShape.h"
#include "MonotonicClock.h"
#include "wayland/KWinBenchmarks.h"
#include "wayland/KWinPictureWatch.h"
#include "wayland/KWinScene.h"

namespace {

using namespace std::chrono_literals;

constexpr int64_t timeoutNs = 500'000'000;  // a frame never shown counts as this long

// One frame drawn at once: from the client's commit to the first screenshot that shows its
// colour in the panel (at most), and to the request of the screenshot before it (at least).
void contentLatency(benchmark::State& state) {
    std::string error;
    KWinPinnedClient* pinned = KWinScene::pinned(1280, 720, error);
    if (pinned == nullptr) return state.SkipWithError(error.c_str());
    static std::minstd_rand gaps(11);
    for (auto _ : state) {
        KWinPictureWatch::discardLines(*pinned);
        const auto result =
            KWinPictureWatch::watch(*pinned, "animate 1 1", timeoutNs,
                                    [](const auto& changes) { return changes.size() > 1; });
        const auto frame = KWinPictureWatch::nextFrame(*pinned, 500ms);
        if (!result.commanded || !frame) return state.SkipWithError("the client drew no frame");
        const auto shown = KWinPictureWatch::shownAt(result, frame->color);
        state.SetIterationTime(shown ? millisecondsBetween(frame->drawnNs, shown->seenNs) / 1000
                                     : timeoutNs / 1e9);
        state.counters["at_least_ms"] =
            shown ? std::max(0.0, millisecondsBetween(frame->drawnNs, shown->notBeforeNs))
                  : timeoutNs / 1e6;
        state.counters["missed"] = shown ? 0 : 1;
        state.counters["screenshot_ms"] = result.longestScreenshotMs;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + gaps() % 40));
}

}  // namespace

void registerKWinContentLatency(const BenchSettings& settings) {
    asLatency(benchmark::RegisterBenchmark("content_latency/1280x720", contentLatency),
              settings.samples);
}
