#include <benchmark/benchmark.h>

#include <iostream>

#include "GoalReporter.h"
#include "wayland/KWinBench.h"
#include "wayland/KWinBenchmarks.h"
#include "wayland/KWinGoalTable.h"
#include "wayland/KWinScene.h"

// The CPU windows come last: the screenshots of the other measurements cost KWin time.
int runOnKWin(const BenchSettings& settings) {
    registerKWinContentLatency(settings);
    registerKWinFollowLag(settings);
    registerKWinFramesShown(settings);
    registerKWinCpu(settings, true);
    registerKWinCpu(settings, false);
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    KWinScene::reset();
    KWinBench::shutdown();
    benchmark::Shutdown();
    const KWinGoalTable table(reporter.figures(), settings);
    table.print(std::cout);
    return table.allPassed() ? 0 : 1;
}
