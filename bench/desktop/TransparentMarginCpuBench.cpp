#include <benchmark/benchmark.h>

#include <exception>
#include <memory>
#include <string>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "ClientScene.h"
#include "PinnedClient.h"

namespace {

// A frameless 32-bit window that draws its own transparent margin: the corner of its
// picture never measures, so every frame asks for the measurement again.
void transparentMarginCpu(benchmark::State& state, const BenchSettings& settings) {
    ClientScene::reset();  // one client on screen, as in the other CPU benchmarks
    ClientOptions options = PinnedClient::optionsFor(1280, 720);
    options.argb = true;
    options.ownMargin = ClientOptions::Extents{12, 12, 12, 12};
    std::unique_ptr<PinnedClient> client;
    try {
        client = std::make_unique<PinnedClient>(BenchDesktop::shared(), options);
    } catch (const std::exception& problem) {
        return state.SkipWithError(problem.what());
    }
    if (const std::string error = client->pin(); !error.empty())
        return state.SkipWithError(error.c_str());
    measureCpu(state, *client, true, settings);
}

}  // namespace

void registerTransparentMarginCpu(const BenchSettings& settings) {
    benchmark::RegisterBenchmark(
        "cpu/animating_60fps_transparent_margin/1280x720",
        [=](benchmark::State& state) { transparentMarginCpu(state, settings); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(1)
        ->Unit(benchmark::kSecond);
}
