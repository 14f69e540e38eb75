#include <benchmark/benchmark.h>

#include <string>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "ClientScene.h"
#include "CpuProbe.h"

namespace {

void setCounters(benchmark::State& state, const CpuProbe::Sample& pinned,
                 const CpuProbe::Sample& unpinned) {
    const double serverExtra = pinned.serverPercent - unpinned.serverPercent;
    state.counters["veltrin_pinned_pct"] = pinned.programPercent;
    state.counters["veltrin_unpinned_pct"] = unpinned.programPercent;
    state.counters["xserver_pinned_pct"] = pinned.serverPercent;
    state.counters["xserver_unpinned_pct"] = unpinned.serverPercent;
    state.counters["xserver_extra_pct"] = serverExtra;
    state.counters["total_extra_pct"] = pinned.programPercent + serverExtra;
}

void cpu(benchmark::State& state, int width, int height, bool animate, double seconds) {
    std::string error;
    PinnedClient* client = ClientScene::pinned(width, height, error);
    if (client == nullptr) return state.SkipWithError(error.c_str());
    measureCpu(state, *client, animate, seconds);
}

}  // namespace

// The same client pinned, then unpinned again with Alt + P, each over one window.
void measureCpu(benchmark::State& state, PinnedClient& client, bool animate, double seconds) {
    measureCpu(state, client, std::string(animate ? "animate 60" : ""), seconds);
}

void measureCpu(benchmark::State& state, PinnedClient& client, const std::string& drawing,
                double seconds) {
    BenchDesktop& bench = BenchDesktop::shared();
    const CpuProbe probe(bench.veltrin().pid(), bench.desktop().serverPid());
    for (auto _ : state) {
        const auto pinned = probe.measure(client, drawing, seconds);
        const std::string error = client.unpin();
        if (!error.empty()) return state.SkipWithError(error.c_str());
        const auto unpinned = probe.measure(client, drawing, seconds);
        if (!pinned || !unpinned) return state.SkipWithError("the program or the server ended");
        state.SetIterationTime(pinned->seconds + unpinned->seconds);
        setCounters(state, *pinned, *unpinned);
    }
}

void registerCpu(const BenchSettings& settings, int width, int height, bool animate) {
    const std::string name = std::string(animate ? "cpu/animating_60fps/" : "cpu/static/") +
                             std::to_string(width) + "x" + std::to_string(height);
    const double seconds = settings.cpuSeconds;
    benchmark::RegisterBenchmark(
        name.c_str(), [=](benchmark::State& state) { cpu(state, width, height, animate, seconds); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(1)
        ->Unit(benchmark::kSecond);
}
