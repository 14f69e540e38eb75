#include "wayland/KWinBench.h"

#include <stdexcept>
#include <thread>

#include "desktop/XDriver.h"

namespace {

using namespace std::chrono_literals;

}  // namespace

KWinBench::KWinBench()
    : kwin_(screenWidth, screenHeight, {VELTRIN_BINARY}),
      veltrin_(std::make_unique<VeltrinProcess>(std::nullopt, kwin_.environment())) {
    waitUntilReady();
}

std::unique_ptr<KWinBench>& KWinBench::instance() {
    static std::unique_ptr<KWinBench> bench;
    return bench;
}

KWinBench& KWinBench::shared() {
    auto& bench = instance();
    if (bench == nullptr) bench.reset(new KWinBench());
    return *bench;
}

void KWinBench::shutdown() {
    instance().reset();
}

// The start record is this copy's by its pid; the shell's commands reach it once it owns
// its name on the session bus, shortly after.
void KWinBench::waitUntilReady() {
    const std::string start = "pid=" + std::to_string(veltrin_->pid()) + "\n";
    const std::string desktop = "desktop: Wayland";
    const bool started = XDriver::waitUntil(
        [&] {
            const std::string log = veltrin_->log();
            return log.find(desktop) != std::string::npos && log.find(start) != std::string::npos;
        },
        30s, 20ms);
    if (!started)
        throw std::runtime_error("the program did not start on KWin; stderr: " +
                                 veltrin_->standardError() + "log: " + veltrin_->log());
    std::this_thread::sleep_for(500ms);
}

std::optional<uint32_t> KWinBench::pixel(int x, int y) {
    const auto shot = kwin_.capture({x, y, 1, 1});
    if (!shot || shot->pixels.empty()) return std::nullopt;
    return shot->pixels.front();
}

std::string KWinBench::toggle() {
    VeltrinProcess command(std::nullopt, kwin_.environment(), {"--toggle"});
    const auto status = command.waitForExit(10s);
    if (status == 0) return "";
    return "veltrin --toggle " + (status ? "ended with " + std::to_string(*status) : "hung") +
           ": " + command.standardError();
}
