#include "desktop/PinningFixture.h"

#include <algorithm>
#include <sstream>

using namespace std::chrono_literals;

PinningFixture::~PinningFixture() {
    if (veltrin) veltrin->stop();
}

void PinningFixture::launch(const std::map<std::string, std::string>& environment) {
    veltrin = std::make_unique<VeltrinProcess>(desktop.display(), environment);
    ASSERT_TRUE(veltrin->waitForLogLine("hotkey: Register", 30s)) << "log:\n"
                                                                  << veltrin->log() << "stderr:\n"
                                                                  << veltrin->standardError();
}

// On a loaded machine the window manager may give the focus to a window mapped just before
// only after this request: activate until the window keeps the focus for a moment.
void PinningFixture::activate(const TestClient& client) {
    const auto active = [&] { return x.activeWindow() == client.window(); };
    for (int attempt = 0; attempt < 5; ++attempt) {
        x.sendRootMessage(client.window(), "_NET_ACTIVE_WINDOW", {2, 0, 0});
        if (XDriver::waitUntil(active, 5s) && !XDriver::waitUntil([&] { return !active(); }, 300ms))
            return;
    }
    FAIL() << "the window manager did not keep the focus on the window";
}

XDriver::Rect PinningFixture::frameOf(const TestClient& client) {
    const auto rect = x.frameRect(client.window());
    return rect.value_or(XDriver::Rect{});
}

XDriver::TopLevel PinningFixture::pinActive(const TestClient& client) {
    activate(client);
    const size_t before = panels().size();
    x.key("alt+p");
    const XDriver::Rect expected = frameOf(client).grownBy(margin);
    XDriver::TopLevel panel;
    const bool shown = XDriver::waitUntil(
        [&] {
            const auto found = panelAt(expected);
            if (found) panel = *found;
            return found.has_value() && panels().size() > before;
        },
        10s);
    EXPECT_TRUE(shown) << diagnostics("pin-failed");
    return panel;
}

std::vector<XDriver::TopLevel> PinningFixture::panels() {
    std::vector<XDriver::TopLevel> ours;
    if (!veltrin) return ours;
    for (const auto& window : x.overrideRedirectWindows())
        if (x.cardinal(window.window, "_NET_WM_PID") == static_cast<uint32_t>(veltrin->pid()))
            ours.push_back(window);
    return ours;
}

std::optional<XDriver::TopLevel> PinningFixture::panelAt(const XDriver::Rect& rect) {
    for (const auto& panel : panels())
        if (panel.rect == rect) return panel;
    return std::nullopt;
}

bool PinningFixture::waitForPanelAt(const XDriver::Rect& rect, std::chrono::milliseconds timeout) {
    return XDriver::waitUntil([&] { return panelAt(rect).has_value(); }, timeout);
}

bool PinningFixture::waitForNoPanel(std::chrono::milliseconds timeout) {
    return XDriver::waitUntil([&] { return panels().empty(); }, timeout);
}

bool PinningFixture::waitForPixel(int px, int py, uint32_t color,
                                  std::chrono::milliseconds timeout) {
    return XDriver::waitUntil([&] { return XDriver::similar(x.pixel(px, py), color, 8); }, timeout);
}

std::string PinningFixture::diagnostics(const std::string& screenshotName) {
    const std::string path = "/tmp/veltrin-" + screenshotName + ".png";
    x.screenshot(path);
    std::string text = "screenshot: " + path + "\npanels:";
    for (const auto& panel : panels()) {
        std::ostringstream rect;
        rect << panel.rect;
        text += " " + rect.str();
    }
    if (veltrin) text += "\nlog:\n" + veltrin->log() + "stderr:\n" + veltrin->standardError();
    return text;
}
