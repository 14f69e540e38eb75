#include <benchmark/benchmark.h>

#include <algorithm>

#include "SampleStatistics.h"
#include "wayland/KWinBenchmarks.h"
#include "wayland/KWinPictureWatch.h"
#include "wayland/KWinScene.h"

namespace {

using namespace std::chrono_literals;

constexpr int64_t watchNs = 1'500'000'000;  // the second of animation and the last frame's way

// One second of the client animating at 60 frames a second: how many of its frames the
// screenshots saw in the panel, and how many screenshots there were to see them.
void framesShown(benchmark::State& state) {
    std::string error;
    KWinPinnedClient* pinned = KWinScene::pinned(1280, 720, error);
    if (pinned == nullptr) return state.SkipWithError(error.c_str());
    for (auto _ : state) {
        KWinPictureWatch::discardLines(*pinned);
        const auto result = KWinPictureWatch::watch(*pinned, "animate 60 1", watchNs,
                                                    [](const auto&) { return false; });
        if (!result.commanded) return state.SkipWithError("the client did not animate");
        int drawn = 0, shown = 0;
        while (const auto frame = KWinPictureWatch::nextFrame(*pinned, 500ms)) {
            ++drawn;
            shown += KWinPictureWatch::shownAt(result, frame->color) ? 1 : 0;
        }
        state.counters["drawn"] = drawn;
        state.counters["shown"] = shown;
        state.counters["screenshots_per_s"] = result.screenshots / (watchNs / 1e9);
        state.counters["screenshot_ms"] = result.longestScreenshotMs;
    }
}

}  // namespace

// A run is one second of animation; one run for every 40 latency samples, two at least.
void registerKWinFramesShown(const BenchSettings& settings) {
    benchmark::RegisterBenchmark("frames_shown_60fps/1280x720", framesShown)
        ->Iterations(1)
        ->Repetitions(std::max(2, settings.samples / 40))
        ->ComputeStatistics("min", SampleStatistics::minimum)
        ->ComputeStatistics("max", SampleStatistics::maximum)
        ->Unit(benchmark::kSecond);
}
