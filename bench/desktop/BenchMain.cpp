// The desktop benchmark: starts its own headless desktop and the built program, pins a
// test client's window with Alt + P and measures how the panel follows it, how soon it
// shows the client's frames and what that costs, then prints the goals beside the figures.
//
//   veltrin_desktop_bench                                  # the full run, a few minutes
//   VELTRIN_BENCH_SAMPLES=10 VELTRIN_BENCH_CPU_SECONDS=2 veltrin_desktop_bench   # a smoke run
//   veltrin_desktop_bench --benchmark_filter=follow_lag    # the library's own options too
//   VELTRIN_BENCH_SOAK_OPERATIONS=10000 veltrin_desktop_bench --benchmark_filter=memory_soak
//                    # by hand, about an hour: resident memory over a long random session
//   veltrin_desktop_bench --desktop wayland   # on a headless KWin of its own instead
//                    # (or VELTRIN_BENCH_DESKTOP=wayland)

#include <benchmark/benchmark.h>

#include <iostream>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "ClientScene.h"
#include "DesktopChoice.h"
#include "GoalReporter.h"
#include "GoalTable.h"
#if VELTRIN_BENCH_KWIN
#include "wayland/KWinBenchmarks.h"
#endif

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
    const std::string desktop = DesktopChoice::take(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const BenchSettings settings = BenchSettings::fromEnvironment();
#if VELTRIN_BENCH_KWIN
    if (desktop == "wayland") return runOnKWin(settings);
#endif
    if (desktop != "x11") {
        std::cerr << "veltrin_desktop_bench: no desktop \"" << desktop
                  << "\" in this build (x11, or wayland where the Wayland desktop is built)\n";
        return 2;
    }
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
