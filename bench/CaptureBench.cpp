#include <benchmark/benchmark.h>

#include <memory>

#include "capture/CaptureManager.h"
#include "capture/CornerRadius.h"
#include "platform/sim/SimPixelBuffer.h"
#include "platform/sim/SimPlatform.h"

namespace {

std::shared_ptr<platform::SampleBuffer> frame1600x1200(std::optional<size_t> reachedAt) {
    sim::SimFrame frame;
    frame.width = 1600;
    frame.height = 1200;
    frame.alphaFrom = reachedAt;
    frame.blueFrom = reachedAt;
    return sim::makeSampleBuffer(frame);
}

void cornerRadiusReachedAt30(benchmark::State& state) {
    const auto sample = frame1600x1200(30);
    for (auto _ : state)
        benchmark::DoNotOptimize(cornerRadiusPoints(*sample, 800.0));
}
BENCHMARK(cornerRadiusReachedAt30);

// Both scans run the full 600 pixels and find nothing.
void cornerRadiusTransparentRow(benchmark::State& state) {
    const auto sample = frame1600x1200(std::nullopt);
    for (auto _ : state)
        benchmark::DoNotOptimize(cornerRadiusPoints(*sample, 800.0));
}
BENCHMARK(cornerRadiusTransparentRow);

// The per-frame work once the corner is known: checks and the enqueue for display.
void frameHandlerAfterCorner(benchmark::State& state) {
    sim::SimDesktop desktop;
    platform::install(std::make_unique<sim::SimPlatform>(desktop));
    desktop.startProgramCopy(4242);
    auto capture = std::make_shared<CaptureManager>();
    capture->startCapture({471, {0, 0, 800, 600}, std::nullopt, true}, [](auto) {});
    const auto sample = frame1600x1200(30);
    capture->didOutputSampleBuffer(sample, platform::StreamOutputType::screen);
    desktop.runUntilIdle();
    for (auto _ : state)
        capture->didOutputSampleBuffer(sample, platform::StreamOutputType::screen);
    capture->stopCapture();
    desktop.runUntilIdle();
    capture.reset();
    platform::uninstall();
}
BENCHMARK(frameHandlerAfterCorner);

}  // namespace
