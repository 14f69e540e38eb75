#include <benchmark/benchmark.h>

#include <algorithm>

#include "SampleStatistics.h"
#include "wayland/KWinBenchmarks.h"
#include "wayland/KWinPictureWatch.h"
#include "wayland/KWinScene.h"

namespace {

using namespace std::chrono_literals;

constexpr int64_t watchNs = 1'500'000'000;  // the second of animation and the last frame's way
constexpr int readers = 4;                  // screenshots asked for side by side
// One second of the client animating at 60 frames a second: how many of its frames the
// screenshots saw at its centre, in the panel or, unpinned, in the window itself.
void framesShown(benchmark::State& state, bool pinned) {
    std::string error;
    KWinPinnedClient* client =
        pinned ? KWinScene::pinned(1280, 720, error) : KWinScene::client(1280, 720, error);
    if (client != nullptr && !pinned) error = client->unpin();
    if (client == nullptr || !error.empty()) return state.SkipWithError(error.c_str());
    for (auto _ : state) {
        KWinPictureWatch::discardLines(*client);
        const auto result = KWinPictureWatch::watch(
            *client, "animate 60 1", watchNs, [](const auto&) { return false; }, readers);
        if (!result.commanded) return state.SkipWithError("the client did not animate");
        int drawn = 0, shown = 0;
        while (const auto frame = KWinPictureWatch::nextFrame(*client, 500ms)) {
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

// A run is one second of animation; one run for every 40 latency samples, two at least. The
// unpinned window is the reference: what the screenshots can see of 60 frames at all.
void registerKWinFramesShown(const BenchSettings& settings) {
    for (const bool pinned : {true, false})
        benchmark::RegisterBenchmark(
            pinned ? "frames_shown_60fps/1280x720" : "frames_seen_unpinned_60fps/1280x720",
            [pinned](benchmark::State& state) { framesShown(state, pinned); })
            ->Iterations(1)
            ->Repetitions(std::max(2, settings.samples / 40))
            ->ComputeStatistics("min", SampleStatistics::minimum)
            ->ComputeStatistics("max", SampleStatistics::maximum)
            ->Unit(benchmark::kSecond);
}
