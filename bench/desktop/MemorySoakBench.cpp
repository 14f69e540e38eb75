#include <benchmark/benchmark.h>

#include <cstdio>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "MemorySoak.h"

namespace {

constexpr int settled = 1000;  // growth is counted from this operation on
constexpr int reportEvery = 250;

// One long session: resident memory after the first thousand operations and at the end.
void memorySoak(benchmark::State& state, int operations) {
    std::string error;
    for (auto _ : state) {
        MemorySoak soak(BenchDesktop::shared(), 16);
        double atSettled = 0;
        double highest = 0;
        while (soak.played() < operations) {
            if (!soak.step(error)) return state.SkipWithError(error.c_str());
            const auto mb = soak.residentMb();
            if (!mb) return state.SkipWithError("the program ended during the session");
            if (soak.played() == settled) atSettled = *mb;
            if (soak.played() >= settled && *mb > highest) highest = *mb;
            if (soak.played() % reportEvery == 0)
                std::fprintf(stderr, "memory_soak: operation %d: %.1f MB resident\n", soak.played(),
                             *mb);
        }
        const double last = soak.residentMb().value_or(0);
        state.counters["rss_at_1000_mb"] = atSettled;
        state.counters["rss_at_end_mb"] = last;
        state.counters["growth_mb"] = last - atSettled;
        state.counters["highest_growth_mb"] = highest - atSettled;
    }
}

}  // namespace

void registerMemorySoak(const BenchSettings& settings) {
    if (settings.soakOperations <= settled) return;  // a long run, started by hand
    benchmark::RegisterBenchmark("memory_soak", memorySoak, settings.soakOperations)
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
}
