#include "PinnedClient.h"

#include <algorithm>
#include <stdexcept>

#include "BenchDesktop.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t startColor = 0x3366CC;
constexpr int clientX = 40;
constexpr int clientY = 40;

}  // namespace

ClientOptions PinnedClient::optionsFor(int width, int height) {
    ClientOptions options;
    options.width = width;
    options.height = height;
    options.x = clientX;
    options.y = clientY;
    options.color = startColor;
    options.title = "veltrin bench client";
    return options;
}

PinnedClient::PinnedClient(BenchDesktop& bench, int width, int height)
    : PinnedClient(bench, optionsFor(width, height)) {}

PinnedClient::PinnedClient(BenchDesktop& bench, const ClientOptions& options)
    : bench_(bench),
      x_(bench.x()),
      width_(options.width),
      height_(options.height),
      client_(std::make_unique<TestClient>(bench.display(), options)) {}

PinnedClient::~PinnedClient() {
    unpin();
}

PanelProbe PinnedClient::probe() const {
    return PanelProbe(x_.connection(), panel_);
}

std::string PinnedClient::activate() {
    if (x_.activeWindow() == client_->window()) return "";
    if (!client_->command("raise"))
        return "the client cannot raise itself: " + client_->lastReply();
    if (XDriver::waitUntil([&] { return x_.activeWindow() == client_->window(); }, 5s)) return "";
    return "the client window did not become active";
}

// The client paints a known colour first, so that the picture can be recognised.
std::string PinnedClient::pin() {
    if (pinned()) return "";
    if (!client_->command("color 3366CC"))
        return "the client cannot paint: " + client_->lastReply();
    if (const std::string error = activate(); !error.empty()) return error;
    if (!x_.key("alt+p")) return "Alt + P could not be typed";
    std::optional<XDriver::TopLevel> found;
    const bool shown = XDriver::waitUntil(
        [&] {
            found = findPanel();
            return found && showsPicture(*found);
        },
        10s, 20ms);
    if (!shown) return pinFailure();
    panel_ = found->window;
    return "";
}

std::string PinnedClient::unpin() {
    if (!pinned()) return "";
    if (const std::string error = activate(); !error.empty()) return error;
    if (!x_.key("alt+p")) return "Alt + P could not be typed";
    const bool gone = XDriver::waitUntil(
        [&] {
            const auto windows = x_.overrideRedirectWindows();
            return std::none_of(windows.begin(), windows.end(),
                                [&](const auto& w) { return w.window == panel_; });
        },
        5s);
    if (!gone) return "the panel stayed after Alt + P";
    panel_ = XCB_NONE;
    return "";
}

std::optional<XDriver::TopLevel> PinnedClient::findPanel() {
    const auto frameRect = x_.frameRect(client_->window());
    if (!frameRect) return std::nullopt;
    const XDriver::Rect expected = frameRect->grownBy(margin);
    for (const auto& window : x_.overrideRedirectWindows())
        if (window.rect == expected) return window;
    return std::nullopt;
}

// Reading the panel's own frame colour at its top edge proves the probe reads the panel.
bool PinnedClient::showsPicture(const XDriver::TopLevel& panel) {
    const auto clientRect = x_.rect(client_->window());
    if (!clientRect) return false;
    sampleX_ = clientRect->x + clientRect->width / 2 - panel.rect.x;
    sampleY_ = clientRect->y + clientRect->height / 2 - panel.rect.y;
    const PanelProbe probe(x_.connection(), panel.window);
    const auto edge = probe.pixel(panel.rect.width / 2, 1);
    const auto centre = probe.pixel(sampleX_, sampleY_);
    return probe.covers(sampleX_, sampleY_) && edge && XDriver::similar(*edge, frameColor, 8) &&
           centre && *centre == startColor;
}

// The program's own word on the failed pin: its first error record after this client's pin
// record (other programs write to the same log, so only that record is quoted).
std::string PinnedClient::pinFailure() {
    const std::string log = bench_.veltrin().log();
    const auto pin = log.rfind("pin: pid=" + std::to_string(client_->pid()));
    const std::string noPanel = "no panel showed the picture within 10 s";
    if (pin == std::string::npos) return noPanel + " (the program logged no pin)";
    const auto error = log.find("ERROR", pin);
    if (error == std::string::npos) return noPanel;
    const auto start = log.rfind("] ", error);
    const auto end = log.find('\n', error);
    return noPanel + "; log: " + log.substr(start + 2, end - start - 2);
}
