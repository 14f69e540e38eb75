#include <benchmark/benchmark.h>

#include <random>
#include <thread>

#include "LatencyShape.h"
#include "wayland/KWinBenchmarks.h"
#include "wayland/KWinFollowLagProbe.h"
#include "wayland/KWinScene.h"

namespace {

constexpr int64_t timeoutNs = 1'000'000'000;  // a move not followed counts as this long

void followLag(benchmark::State& state) {
    std::string error;
    KWinPinnedClient* pinned = KWinScene::pinned(1280, 720, error);
    if (pinned == nullptr) return state.SkipWithError(error.c_str());
    static KWinFollowLagProbe probe;
    static std::minstd_rand gaps(7);
    // A repetition that fails after others ran must fail inside the loop: one that never
    // entered it reports no iterations, and the library aborts on that mix.
    for (auto _ : state) {
        // The probe knows the window by this colour; an animation before may have left another.
        if (error = pinned->paint(KWinPinnedClient::startColor); !error.empty())
            return state.SkipWithError(error.c_str());
        const auto sample = probe.measure(*pinned, timeoutNs);
        state.SetIterationTime(sample.followed ? sample.atMostMs / 1000 : timeoutNs / 1e9);
        state.counters["at_least_ms"] = sample.followed ? sample.atLeastMs : timeoutNs / 1e6;
        state.counters["missed"] = sample.followed ? 0 : 1;
        state.counters["since_request_ms"] = sample.sinceRequestMs;
        state.counters["screenshot_ms"] = sample.captureMs;
        state.counters["frames_late"] = sample.framesLate;
        state.counters["late"] = sample.followed && sample.framesLate > 0 ? 1 : 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + gaps() % 40));
}

}  // namespace

void registerKWinFollowLag(const BenchSettings& settings) {
    asLatency(benchmark::RegisterBenchmark("follow_lag", followLag), settings.samples);
}
