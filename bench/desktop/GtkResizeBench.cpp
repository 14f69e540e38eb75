#include <benchmark/benchmark.h>

#include <memory>
#include <thread>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "GtkWindow.h"
#include "LatencyShape.h"
#include "MonotonicClock.h"
#include "ProcessCpu.h"
#include "RootWatcher.h"

namespace {

constexpr int64_t timeoutNs = 1'000'000'000;  // a resize not followed counts as this long

struct ResizeSample {
    bool followed = false;
    double lagMs = 0;           // the frame changed -> the panel lies over the window again
    double sinceRequestMs = 0;  // the size was asked for -> the panel lies over the window
    bool sameRead = false;
    double programWaitMs = 0;  // the program's threads ready to run but without a core
};

// The GTK window and the watcher that times it, made on first use and kept until the
// benchmark's last repetition.
struct GtkScene {
    std::unique_ptr<GtkWindow> window;
    std::unique_ptr<RootWatcher> watcher;
    XDriver::Rect home;
    std::string error;
    int step = 0;

    static GtkScene& shared() {
        static GtkScene scene = make();
        return scene;
    }

    static GtkScene make() {
        GtkScene scene;
        try {
            BenchDesktop& bench = BenchDesktop::shared();
            scene.window = std::make_unique<GtkWindow>(bench);
            scene.error = scene.window->pin();
            scene.watcher = std::make_unique<RootWatcher>(bench.display());
            scene.home = bench.x().rect(scene.window->window()).value_or(XDriver::Rect{});
        } catch (const std::exception& problem) {
            scene.error = problem.what();
        }
        return scene;
    }

    void close() {
        watcher.reset();
        window.reset();
        error = "the GTK window was closed";
    }
};

// Sizes alternate between the window's first size (its smallest, for the widget factory)
// and a varying larger one, so each request changes the frame.
ResizeSample resizeOnce(GtkScene& scene) {
    const int grow = scene.step % 2 == 0 ? 40 + (scene.step % 5) * 8 : 0;
    ++scene.step;
    GtkWindow& gtk = *scene.window;
    scene.watcher->drain();
    const xcb_window_t frame = gtk.frame();
    const auto before = BenchDesktop::shared().x().rect(frame);
    const pid_t program = BenchDesktop::shared().veltrin().pid();
    const double programWaited = ProcessCpu::waitingSeconds(program);
    const int64_t requestNs = monotonicNs();
    gtk.requestSize(scene.home.width + grow, scene.home.height + grow / 2);
    std::optional<RootWatcher::Configure> changed;
    while (const auto event = scene.watcher->next(requestNs + timeoutNs)) {
        if (!changed && event->window == frame && event->rect != before) changed = event;
        if (!changed || event->window != gtk.panel() || event->rect != gtk.panelRect()) continue;
        return {true, millisecondsBetween(changed->readNs, event->readNs),
                millisecondsBetween(requestNs, event->readNs), changed->read == event->read,
                (ProcessCpu::waitingSeconds(program) - programWaited) * 1000};
    }
    return {};
}

void measureResizes(benchmark::State& state, GtkScene& scene) {
    for (auto _ : state) {
        const ResizeSample sample = resizeOnce(scene);
        state.SetIterationTime(sample.followed ? sample.lagMs / 1000 : timeoutNs / 1e9);
        state.counters["missed"] = sample.followed ? 0 : 1;
        state.counters["since_request_ms"] = sample.sinceRequestMs;
        state.counters["same_read"] = sample.sameRead ? 1 : 0;
        state.counters["veltrin_wait_ms"] = sample.programWaitMs;
    }
    // The toolkit redraws after each size; let it settle before the next one.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
}

// The widget factory animates while it is open: after the last repetition it closes, so
// that the CPU benchmarks after it see only their own windows.
void gtkResize(benchmark::State& state, int repetitions) {
    static int runs = 0;
    GtkScene& scene = GtkScene::shared();
    if (scene.error.empty())
        measureResizes(state, scene);
    else
        state.SkipWithError(scene.error.c_str());
    if (++runs == repetitions) scene.close();
}

}  // namespace

void registerGtkResize(const BenchSettings& settings) {
    const int repetitions = settings.samples;
    asLatency(benchmark::RegisterBenchmark(
                  "gtk4_resize", [=](benchmark::State& state) { gtkResize(state, repetitions); }),
              repetitions);
}
