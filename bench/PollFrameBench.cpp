#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "pinning/MirrorPanel.h"
#include "platform/sim/SimPlatform.h"

namespace {

// A desktop with one window and a panel over it; the panel is built but not started, so
// the benchmark's own thread is the only one that polls.
struct PollScene {
    PollScene() {
        platform::install(std::make_unique<sim::SimPlatform>(desktop));
        desktop.startProgramCopy(4242);
        desktop.screens.push_back({{0, 0, 1920, 1080}, {0, 0, 1920, 1055}});
        desktop.addApplication({812, "com.example.editor", "Editor"});
        desktop.addWindow({471, 812, {120, 80, 800, 600}, true});
        MirrorPanel::forgetScreenFrame();
        panel = MirrorPanel::create({471, {120, 80, 800, 600}, std::nullopt, true});
        panel->pollFrame();
        desktop.runUntilIdle();
    }
    ~PollScene() {
        panel->stop();
        desktop.runUntilIdle();
        panel.reset();
        platform::uninstall();
    }

    sim::SimDesktop desktop;
    std::shared_ptr<MirrorPanel> panel;
};

// The common case: the window stays where it is.
void pollFrameUnchanged(benchmark::State& state) {
    PollScene scene;
    for (auto _ : state)
        scene.panel->pollFrame();
}
BENCHMARK(pollFrameUnchanged);

// The window moves on every refresh: each poll posts the new frame to the main queue,
// which is drained (outside the timing) every 1024 polls.
void pollFrameChanged(benchmark::State& state) {
    PollScene scene;
    sim::SimWindow* window = scene.desktop.findWindow(471);
    uint64_t polls = 0;
    for (auto _ : state) {
        window->frame.x = (++polls % 2 == 0) ? 120 : 121;
        scene.panel->pollFrame();
        if (polls % 1024 != 0) continue;
        state.PauseTiming();
        scene.desktop.runUntilIdle();
        state.ResumeTiming();
    }
    scene.desktop.runUntilIdle();
}
BENCHMARK(pollFrameChanged);

}  // namespace
