#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <thread>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "ClientScene.h"
#include "FollowLagProbe.h"
#include "LatencyShape.h"

namespace {

constexpr int64_t timeoutNs = 1'000'000'000;  // a move not followed counts as this long

void followLag(benchmark::State& state) {
    std::string error;
    PinnedClient* pinned = ClientScene::pinned(1280, 720, error);
    if (pinned == nullptr) return state.SkipWithError(error.c_str());
    BenchDesktop& bench = BenchDesktop::shared();
    static const auto probe = std::make_unique<FollowLagProbe>(
        bench.display(), bench.veltrin().pid(), bench.desktop().serverPid());
    static std::minstd_rand gaps(7);
    for (auto _ : state) {
        const auto sample = probe->measure(*pinned, timeoutNs);
        state.SetIterationTime(sample.followed ? sample.lagMs / 1000 : timeoutNs / 1e9);
        state.counters["missed"] = sample.followed ? 0 : 1;
        state.counters["since_request_ms"] = sample.sinceRequestMs;
        state.counters["same_read"] = sample.sameRead ? 1 : 0;
        state.counters["veltrin_wait_ms"] = sample.programWaitMs;
        state.counters["xserver_wait_ms"] = sample.serverWaitMs;
        state.counters["lag_minus_waits_ms"] =
            sample.lagMs - sample.programWaitMs - sample.serverWaitMs;
    }
    // Irregular gaps, so that samples do not lock to any periodic work of the program.
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + gaps() % 40));
}

}  // namespace

void registerFollowLag(const BenchSettings& settings) {
    asLatency(benchmark::RegisterBenchmark("follow_lag", followLag), settings.samples);
}
