#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "ClientScene.h"
#include "CpuProbe.h"
#include "CpuRounds.h"

namespace {

std::map<std::string, double> counters(const CpuProbe::Sample& pinned,
                                       const CpuProbe::Sample& unpinned) {
    const double serverExtra = pinned.serverPercent - unpinned.serverPercent;
    return {{"veltrin_pinned_pct", pinned.programPercent},
            {"veltrin_unpinned_pct", unpinned.programPercent},
            {"xserver_pinned_pct", pinned.serverPercent},
            {"xserver_unpinned_pct", unpinned.serverPercent},
            {"xserver_extra_pct", serverExtra},
            {"total_extra_pct", pinned.programPercent + serverExtra}};
}

void cpu(benchmark::State& state, int width, int height, bool animate,
         const BenchSettings& settings) {
    std::string error;
    PinnedClient* client = ClientScene::pinned(width, height, error);
    if (client == nullptr) return state.SkipWithError(error.c_str());
    measureCpu(state, *client, animate, settings);
}

}  // namespace

// The same client pinned, then unpinned again with Alt + P, each over one window, for each
// round.
void measureCpu(benchmark::State& state, PinnedClient& client, bool animate,
                const BenchSettings& settings) {
    measureCpu(state, client, std::string(animate ? "animate 60" : ""), settings);
}

void measureCpu(benchmark::State& state, PinnedClient& client, const std::string& drawing,
                const BenchSettings& settings) {
    BenchDesktop& bench = BenchDesktop::shared();
    const CpuProbe probe(bench.veltrin().pid(), bench.desktop().serverPid());
    for (auto _ : state) {
        CpuRounds rounds;
        double seconds = 0;
        for (int round = 0; round < settings.cpuRounds; ++round) {
            if (std::string error = client.pinned() ? "" : client.pin(); !error.empty())
                return state.SkipWithError(error.c_str());
            const auto pinned = probe.measure(client, drawing, settings.cpuSeconds);
            if (std::string error = client.unpin(); !error.empty())
                return state.SkipWithError(error.c_str());
            const auto unpinned = probe.measure(client, drawing, settings.cpuSeconds);
            if (!pinned || !unpinned) return state.SkipWithError("the program or the server ended");
            seconds += pinned->seconds + unpinned->seconds;
            rounds.add(counters(*pinned, *unpinned));
        }
        state.SetIterationTime(seconds);
        rounds.report(state);
    }
}

void registerCpu(const BenchSettings& settings, int width, int height, bool animate) {
    const std::string name = std::string(animate ? "cpu/animating_60fps/" : "cpu/static/") +
                             std::to_string(width) + "x" + std::to_string(height);
    benchmark::RegisterBenchmark(
        name.c_str(),
        [=](benchmark::State& state) { cpu(state, width, height, animate, settings); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(1)
        ->Unit(benchmark::kSecond);
}
