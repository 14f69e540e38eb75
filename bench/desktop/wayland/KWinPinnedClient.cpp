#include "wayland/KWinPinnedClient.h"

#include <stdexcept>

#include "desktop/XDriver.h"
#include "wayland/KWinBench.h"

namespace {

using namespace std::chrono_literals;

}  // namespace

KWinPinnedClient::KWinPinnedClient(KWinBench& bench, int width, int height)
    : bench_(bench),
      client_(std::make_unique<WaylandTestClient>(
          bench.environment(),
          std::vector<std::string>{
              "--width", std::to_string(width), "--height", std::to_string(height), "--color",
              WaylandTestClient::colorName(startColor), "--title", "veltrin bench client"})),
      rect_{home, home, width, height} {
    if (!moveTo(home, home) || !showsColorAtCentre(startColor))
        throw std::runtime_error("the Wayland client did not show at its place");
}

KWinPinnedClient::~KWinPinnedClient() {
    unpin();
}

bool KWinPinnedClient::moveTo(int x, int y) {
    if (!bench_.kwin().moveWindow(client_->pid(), x, y)) return false;
    rect_.x = x;
    rect_.y = y;
    return true;
}

bool KWinPinnedClient::showsColorAtCentre(uint32_t color) {
    return XDriver::waitUntil(
        [&] {
            const auto pixel = bench_.pixel(centreX(), centreY());
            return pixel && XDriver::similar(*pixel, color, 8);
        },
        5s, 20ms);
}

bool KWinPinnedClient::framed() {
    const auto pixel = bench_.pixel(rect_.x - margin / 2, centreY());
    return pixel && XDriver::similar(*pixel, frameColor, 10);
}

std::string KWinPinnedClient::activate() {
    const std::string pid = std::to_string(client_->pid());
    const bool ran = bench_.kwin().runScript(
        "for (const c of workspace.clientList())\n"
        "  if (c.pid === " +
        pid + ") workspace.activeClient = c;\n");
    return ran ? "" : "KWin did not run the script that activates the client";
}

std::string KWinPinnedClient::paint(uint32_t color) {
    if (!client_->recolor(color)) return "the client cannot paint";
    if (!showsColorAtCentre(color)) return "the screen does not show the client's colour";
    return "";
}

// The client paints its known colour first, so that the picture can be recognised.
std::string KWinPinnedClient::pin() {
    if (pinned_) return "";
    if (std::string error = paint(startColor); !error.empty()) return error;
    if (std::string error = activate(); !error.empty()) return error;
    if (std::string error = bench_.toggle(); !error.empty()) return error;
    if (!XDriver::waitUntil([&] { return framed(); }, 10s, 20ms))
        return "no frame showed beside the window within 10 s";
    if (!showsColorAtCentre(startColor)) return "the panel shows no picture of the window";
    pinned_ = true;
    return "";
}

std::string KWinPinnedClient::unpin() {
    if (!pinned_) return "";
    if (std::string error = activate(); !error.empty()) return error;
    if (std::string error = bench_.toggle(); !error.empty()) return error;
    if (!XDriver::waitUntil([&] { return !framed(); }, 5s, 20ms))
        return "the panel stayed after veltrin --toggle";
    pinned_ = false;
    return "";
}
