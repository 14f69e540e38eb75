#include "CpuProbe.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "FrameLine.h"
#include "MonotonicClock.h"
#include "PinnedClient.h"
#include "ProcessCpu.h"

namespace {

using namespace std::chrono_literals;

constexpr auto settle = 500ms;  // the animation runs steadily before the window opens

std::string timed(const std::string& drawing, double seconds) {
    char text[16];
    std::snprintf(text, sizeof text, " %.1f", seconds + 1.5);
    return drawing + text;
}

// Waits for the animation's end, so that it does not run into the next window.
void waitForAnimationEnd(TestClient& client, double seconds) {
    const auto limit = std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000) + 5000);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto line = client.readLine(1s);
        if (line && *line == "animated") return;
    }
}

}  // namespace

std::optional<CpuProbe::Sample> CpuProbe::measure(PinnedClient& client, const std::string& drawing,
                                                  double seconds) const {
    const bool animate = !drawing.empty();
    FrameLine::discardAll(client.client());
    if (animate) client.client().send(timed(drawing, seconds));
    std::this_thread::sleep_for(settle);
    const auto program0 = ProcessCpu::seconds(program_), server0 = ProcessCpu::seconds(server_);
    const int64_t startNs = monotonicNs();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const auto program1 = ProcessCpu::seconds(program_), server1 = ProcessCpu::seconds(server_);
    const double wall = millisecondsBetween(startNs, monotonicNs()) / 1000;
    if (animate) waitForAnimationEnd(client.client(), seconds);
    if (!program0 || !program1 || !server0 || !server1) return std::nullopt;
    return Sample{(*program1 - *program0) / wall * 100, (*server1 - *server0) / wall * 100, wall};
}
