#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "Benchmarks.h"
#include "ClientScene.h"
#include "FramesShownProbe.h"
#include "SampleStatistics.h"

namespace {

void framesShown(benchmark::State& state) {
    std::string error;
    PinnedClient* pinned = ClientScene::pinned(1280, 720, error);
    if (pinned == nullptr) return state.SkipWithError(error.c_str());
    for (auto _ : state) {
        const auto sample = FramesShownProbe::measure(*pinned);
        if (sample.panelLost) return state.SkipWithError("the panel lost its picture");
        state.counters["drawn"] = sample.drawn;
        state.counters["shown"] = sample.shown;
        state.counters["poll_gap_ms"] = sample.pollGapMs;
    }
}

}  // namespace

// A run is one second of animation; one run for every 40 latency samples, two at least.
void registerFramesShown(const BenchSettings& settings) {
    benchmark::RegisterBenchmark("frames_shown_60fps/1280x720", framesShown)
        ->Iterations(1)
        ->Repetitions(std::max(2, settings.samples / 40))
        ->ComputeStatistics("min", SampleStatistics::minimum)
        ->ComputeStatistics("max", SampleStatistics::maximum)
        ->Unit(benchmark::kSecond);
}
