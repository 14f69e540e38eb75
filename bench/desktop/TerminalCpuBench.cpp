#include <benchmark/benchmark.h>

#include <string>

#include "Benchmarks.h"
#include "ClientScene.h"

namespace {

constexpr int width = 1280;
constexpr int height = 720;
constexpr int rowHeight = 16;

// The animating 1280x720 client, now a terminal whose bottom rows scroll a line a frame:
// set beside that benchmark's figures, the X server's extra work shows whether it follows
// the changed area or the whole window. Four rows are a log's last lines (a build's output, a
// tail); one row shows what a frame costs however little of it changed.
void terminalCpu(benchmark::State& state, int rows, const BenchSettings& settings) {
    std::string error;
    PinnedClient* client = ClientScene::pinned(width, height, error);
    if (client == nullptr) return state.SkipWithError(error.c_str());
    const std::string drawing =
        "scroll " + std::to_string(rows) + " " + std::to_string(rowHeight) + " 60";
    measureCpu(state, *client, drawing, settings);
    state.counters["changed_share_pct"] = 100.0 * rows * rowHeight / height;
}

}  // namespace

void registerTerminalCpu(const BenchSettings& settings) {
    for (const int rows : {4, 1}) {
        const std::string name = rows == 4 ? "cpu/terminal_scrolling_60fps/1280x720"
                                           : "cpu/terminal_one_row_60fps/1280x720";
        benchmark::RegisterBenchmark(
            name.c_str(), [=](benchmark::State& state) { terminalCpu(state, rows, settings); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(1)
            ->Unit(benchmark::kSecond);
    }
}
