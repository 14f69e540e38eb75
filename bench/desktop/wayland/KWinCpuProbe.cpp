#include "wayland/KWinCpuProbe.h"

#include <chrono>
#include <string>
#include <thread>

#include "FrameLine.h"
#include "MonotonicClock.h"
#include "ProcessCpu.h"
#include "wayland/KWinPictureWatch.h"
#include "wayland/KWinPinnedClient.h"

namespace {

using namespace std::chrono_literals;

constexpr auto settle = 500ms;  // the animation runs steadily before the window opens

// The frames the client drew between two times, read up to the animation's end so that it
// does not run into the next window. A loaded machine leaves the client fewer than 60 a second.
int framesDrawn(KWinPinnedClient& client, int64_t fromNs, int64_t toNs) {
    int frames = 0;
    while (const auto line = client.client().waitForLine("", 5s)) {
        if (*line == "animated") break;
        const auto frame = FrameLine::parse(*line);
        frames += frame && frame->drawnNs >= fromNs && frame->drawnNs < toNs ? 1 : 0;
    }
    return frames;
}

}  // namespace

std::optional<KWinCpuProbe::Sample> KWinCpuProbe::measure(KWinPinnedClient& client, bool animate,
                                                          double seconds) const {
    KWinPictureWatch::discardLines(client);
    const double animation = seconds + 1.5;
    if (animate && !client.client().command("animate 60 " + std::to_string(animation)))
        return std::nullopt;
    std::this_thread::sleep_for(settle);
    const auto program0 = ProcessCpu::seconds(program_), kwin0 = ProcessCpu::seconds(kwin_);
    const int64_t startNs = monotonicNs();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const auto program1 = ProcessCpu::seconds(program_), kwin1 = ProcessCpu::seconds(kwin_);
    const double wall = millisecondsBetween(startNs, monotonicNs()) / 1000;
    const int64_t endNs = monotonicNs();
    const int frames = animate ? framesDrawn(client, startNs, endNs) : 0;
    if (!program0 || !program1 || !kwin0 || !kwin1) return std::nullopt;
    return Sample{(*program1 - *program0) / wall * 100, (*kwin1 - *kwin0) / wall * 100, wall,
                  frames / wall};
}
