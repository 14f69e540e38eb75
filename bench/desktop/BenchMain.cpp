// The desktop benchmark: starts its own headless desktop and the built program, pins a
// test client's window with Alt + P and measures how the panel follows it, how soon it
// shows the client's frames and what that costs, then prints the goals beside the figures.
//
//   veltrin_desktop_bench                                  # the full run, a few minutes
//   VELTRIN_BENCH_SAMPLES=10 VELTRIN_BENCH_CPU_SECONDS=2 veltrin_desktop_bench   # a smoke run
//   veltrin_desktop_bench --benchmark_filter=follow_lag    # the library's own options too
//   VELTRIN_BENCH_SOAK_OPERATIONS=10000 veltrin_desktop_bench --benchmark_filter=memory_soak
//                    # by hand, about an hour: resident memory over a long random session

#include <benchmark/benchmark.h>

#include <iostream>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "ClientScene.h"
#include "GoalReporter.h"
#include "GoalTable.h"

namespace {

// Benchmarks of one client size follow each other, so that the client is made once.
void registerAll(const BenchSettings& settings) {
    registerContentLatency(settings, 640, 480);
    registerFollowLag(settings);
    registerGtkResize(settings);
    registerContentLatency(settings, 1280, 720);
    registerFramesShown(settings);
    registerCpu(settings, 1280, 720, true);
    registerCpu(settings, 1280, 720, false);
    registerTerminalCpu(settings);
    registerTransparentMarginCpu(settings);
    registerContentLatency(settings, 1920, 1080);
    registerCpu(settings, 1920, 1080, true);
    registerManyPinsCpu(settings);
    registerMemorySoak(settings);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const BenchSettings settings = BenchSettings::fromEnvironment();
    registerAll(settings);
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    ClientScene::reset();
    BenchDesktop::shutdown();
    benchmark::Shutdown();
    const GoalTable table(reporter.figures(), settings);
    table.print(std::cout);
    return table.allPassed() ? 0 : 1;
}
