#include <benchmark/benchmark.h>

#include <string>

#include "wayland/KWinBench.h"
#include "wayland/KWinBenchmarks.h"
#include "wayland/KWinCpuProbe.h"
#include "wayland/KWinScene.h"

namespace {

// The same client pinned, then unpinned again with `veltrin --toggle`, each over one window.
void cpu(benchmark::State& state, bool animate, double seconds) {
    std::string error;
    KWinPinnedClient* client = KWinScene::pinned(1280, 720, error);
    if (client == nullptr) return state.SkipWithError(error.c_str());
    KWinBench& bench = KWinBench::shared();
    const KWinCpuProbe probe(bench.veltrin().pid(), bench.kwin().pid());
    for (auto _ : state) {
        const auto pinned = probe.measure(*client, animate, seconds);
        if (const std::string unpinError = client->unpin(); !unpinError.empty())
            return state.SkipWithError(unpinError.c_str());
        const auto unpinned = probe.measure(*client, animate, seconds);
        if (!pinned || !unpinned) return state.SkipWithError("the program or KWin ended");
        state.SetIterationTime(pinned->seconds + unpinned->seconds);
        state.counters["veltrin_pinned_pct"] = pinned->programPercent;
        state.counters["veltrin_unpinned_pct"] = unpinned->programPercent;
        state.counters["kwin_pinned_pct"] = pinned->kwinPercent;
        state.counters["kwin_unpinned_pct"] = unpinned->kwinPercent;
        state.counters["client_fps_pinned"] = pinned->framesPerSecond;
    }
}

}  // namespace

void registerKWinCpu(const BenchSettings& settings, bool animate) {
    const std::string name =
        std::string(animate ? "cpu/animating_60fps/" : "cpu/static/") + "1280x720";
    const double seconds = settings.cpuSeconds;
    benchmark::RegisterBenchmark(name.c_str(),
                                 [=](benchmark::State& state) { cpu(state, animate, seconds); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(1)
        ->Unit(benchmark::kSecond);
}
