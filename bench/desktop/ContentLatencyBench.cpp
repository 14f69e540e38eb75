#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <thread>

#include "Benchmarks.h"
#include "ClientScene.h"
#include "ContentLatencyProbe.h"
#include "LatencyShape.h"

namespace {

constexpr int64_t timeoutNs = 500'000'000;  // a frame never shown counts as this long

void contentLatency(benchmark::State& state, int width, int height) {
    std::string error;
    PinnedClient* pinned = ClientScene::pinned(width, height, error);
    if (pinned == nullptr) return state.SkipWithError(error.c_str());
    static std::minstd_rand gaps(11);
    for (auto _ : state) {
        const auto sample = ContentLatencyProbe::measure(*pinned, timeoutNs);
        if (sample.panelLost) return state.SkipWithError("the panel lost its picture");
        state.SetIterationTime(sample.shown ? sample.latencyMs / 1000 : timeoutNs / 1e9);
        state.counters["missed"] = sample.shown ? 0 : 1;
        state.counters["poll_gap_ms"] = sample.pollGapMs;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + gaps() % 40));
}

}  // namespace

void registerContentLatency(const BenchSettings& settings, int width, int height) {
    const std::string name =
        "content_latency/" + std::to_string(width) + "x" + std::to_string(height);
    auto* benchmark = benchmark::RegisterBenchmark(
        name.c_str(),
        [width, height](benchmark::State& state) { contentLatency(state, width, height); });
    asLatency(benchmark, settings.samples);
}
