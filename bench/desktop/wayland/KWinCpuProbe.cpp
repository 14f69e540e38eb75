#include "wayland/KWinCpuProbe.h"

#include <chrono>
#include <string>
#include <thread>

#include "MonotonicClock.h"
#include "ProcessCpu.h"
#include "wayland/KWinPictureWatch.h"
#include "wayland/KWinPinnedClient.h"

namespace {

using namespace std::chrono_literals;

constexpr auto settle = 500ms;  // the animation runs steadily before the window opens

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
    // The animation's end, so that it does not run into the next window.
    if (animate) client.client().waitForLine("animated", std::chrono::seconds(5));
    if (!program0 || !program1 || !kwin0 || !kwin1) return std::nullopt;
    return Sample{(*program1 - *program0) / wall * 100, (*kwin1 - *kwin0) / wall * 100, wall};
}
