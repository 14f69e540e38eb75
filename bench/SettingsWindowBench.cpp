// The settings window on a private headless desktop: how soon it shows after the click
// that opens it, how often it is drawn while an animation runs, and what it costs while
// it stands still.

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <memory>

#include "SettingsBenchDesktop.h"
#include "platform/desktop/DesktopWindow.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The glass of the window as drawn without a compositing manager.
constexpr uint32_t glass = 0x222328;

SettingsBenchDesktop& bench() {
    static auto* desktop = new SettingsBenchDesktop();  // one X server for every run
    return *desktop;
}

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

bool glassOnScreen(SettingsBenchDesktop& desktop) {
    const XDriver::Rect rect = desktop.rootRect();
    if (rect.width == 0) return false;
    // A spot of bare glass between the swatches and the right edge.
    return XDriver::similar(desktop.x().pixel(rect.x + 300, rect.y + 100), glass, 6);
}

bool openFresh(SettingsBenchDesktop& desktop) {
    desktop.forgetSettings();
    desktop.clickLauncher();
    return desktop.pumpUntil([&] { return glassOnScreen(desktop); }, 3s);
}

// From the user's click until the window's pixels are on the screen.
void BM_SettingsFirstShown(benchmark::State& state) {
    SettingsBenchDesktop& desktop = bench();
    for (auto _ : state) {
        desktop.forgetSettings();
        const auto clicked = Clock::now();
        desktop.clickLauncher();
        if (!desktop.pumpUntil([&] { return glassOnScreen(desktop); }, 3s)) {
            desktop.x().screenshot("/tmp/veltrin-settings-unseen.png");
            state.SkipWithError("the settings window never showed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - clicked).count());
    }
    // What the user saw, and whether the window manager gave it the focus.
    const uint32_t id = desktop.window()->windowId();
    state.counters["focused"] =
        desktop.pumpUntil([&] { return desktop.x().activeWindow() == id; }, 2s) ? 1 : 0;
    desktop.x().screenshot("/tmp/veltrin-settings-window.png");
}
BENCHMARK(BM_SettingsFirstShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The recorder's pulse runs until a key ends the recording: frames drawn per second.
void BM_SettingsPulseFrameRate(benchmark::State& state) {
    SettingsBenchDesktop& desktop = bench();
    if (!openFresh(desktop)) {
        state.SkipWithError("the settings window never showed");
        return;
    }
    desktop.clickInSettings(220, 174);  // the recorder button
    const auto* window = desktop.window();
    desktop.pumpUntil([&] { return window->framesDrawn() > 2; }, 2s);
    double seconds = 0;
    uint64_t frames = 0;
    for (auto _ : state) {
        const uint64_t before = window->framesDrawn();
        const auto start = Clock::now();
        desktop.idle(1s);
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        frames += window->framesDrawn() - before;
    }
    state.counters["frames_per_s"] = static_cast<double>(frames) / seconds;
    desktop.x().key("escape");
}
BENCHMARK(BM_SettingsPulseFrameRate)->Unit(benchmark::kMillisecond)->Iterations(3);

// Open and still: no frame drawn, and the process's processor time over each second.
void BM_SettingsStillCost(benchmark::State& state) {
    SettingsBenchDesktop& desktop = bench();
    if (!openFresh(desktop)) {
        state.SkipWithError("the settings window never showed");
        return;
    }
    const auto* window = desktop.window();
    desktop.idle(500ms);  // the opening bounce-free paint and focus settle
    double cpu = 0;
    double seconds = 0;
    uint64_t frames = 0;
    for (auto _ : state) {
        const uint64_t before = window->framesDrawn();
        const double cpuBefore = processSeconds();
        const auto start = Clock::now();
        desktop.idle(2s);
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        cpu += processSeconds() - cpuBefore;
        frames += window->framesDrawn() - before;
    }
    state.counters["cpu_percent"] = 100 * cpu / seconds;
    state.counters["frames"] = static_cast<double>(frames);
}
BENCHMARK(BM_SettingsStillCost)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
