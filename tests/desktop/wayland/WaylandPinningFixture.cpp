#include "desktop/wayland/WaylandPinningFixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "desktop/XDriver.h"
#include "platform/desktop/wayland/WaylandConnection.h"
#include "platform/desktop/wayland/WaylandWindowModel.h"

namespace {

using namespace std::chrono_literals;

}  // namespace

void WaylandPinningFixture::SetUp() {
    desktopWidth_ = screenWidth * outputs_;
    kwin_ = std::make_unique<HeadlessKWin>(
        screenWidth, screenHeight,
        trusted_ ? std::vector<std::string>{VELTRIN_BINARY} : std::vector<std::string>{},
        std::vector<std::string>{}, keyboardLayout_, outputs_);
    client_ = std::make_unique<WaylandTestClient>(
        kwin_->environment(), std::vector<std::string>{"--width", "400", "--height", "300"});
    ASSERT_TRUE(kwin_->moveWindow(client_->pid(), 200, 150));
}

void WaylandPinningFixture::TearDown() {
    veltrin_.reset();
    tray_.reset();
    std::error_code ignored;
    if (!config_.empty()) std::filesystem::remove_all(config_, ignored);
}

void WaylandPinningFixture::launch(const std::map<std::string, std::string>& environment) {
    auto merged = kwin_->environment();
    for (const auto& [name, value] : environment)
        merged.insert_or_assign(name, value);
    veltrin_ = std::make_unique<VeltrinProcess>(std::nullopt, merged);
    ASSERT_TRUE(veltrin_->waitForLogLine("hotkey: Register", 30s)) << veltrin_->log();
}

void WaylandPinningFixture::launchWithSettings(const std::string& general) {
    config_ = std::filesystem::temp_directory_path().string() + "/veltrin-wayland-settings-" +
              std::to_string(::getpid());
    std::filesystem::create_directories(config_ + "/veltrin");
    std::ofstream(config_ + "/veltrin/veltrin.ini") << "[General]\n" << general << "\n";
    launch({{"XDG_CONFIG_HOME", config_}});
}

void WaylandPinningFixture::launchWithTray(const std::string& language) {
    tray_.reset();  // one host owns the watcher's name at a time
    tray_ = std::make_unique<TrayHost>(kwin_->environment().at("DBUS_SESSION_BUS_ADDRESS"));
    launchWithSettings("appLanguage=" + language);
    ASSERT_TRUE(tray_->waitForItem(10s)) << veltrin_->log();
}

std::string WaylandPinningFixture::storedSettings() const {
    std::ifstream file(veltrin_->settingsPath());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Read through the window management that KWin grants the test program, as a task bar would.
std::vector<desktop::WaylandWindow> WaylandPinningFixture::windowsOf(pid_t pid) {
    const auto environment = kwin_->environment();
    const auto connection = desktop::WaylandConnection::connect(environment.at("XDG_RUNTIME_DIR") +
                                                                "/" + kwin_->socket());
    if (!connection) return {};
    desktop::WaylandWindowModel model(*connection);
    if (!connection->start() || !connection->roundtrip()) return {};
    std::vector<desktop::WaylandWindow> windows = model.windowsTopFirst();
    std::erase_if(windows, [&](const desktop::WaylandWindow& w) { return w.pid != pid; });
    return windows;
}

std::optional<desktop::WaylandWindow> WaylandPinningFixture::waitForWindowOf(
    pid_t pid, const std::string& title, std::chrono::milliseconds timeout) {
    for (auto deadline = std::chrono::steady_clock::now() + timeout;;
         std::this_thread::sleep_for(100ms)) {
        for (const auto& window : windowsOf(pid))
            if (window.title.find(title) != std::string::npos && window.geometry.width > 0 &&
                window.geometry.height > 0)
                return window;
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    }
}

void WaylandPinningFixture::pin() {
    auto environment = kwin_->environment();
    environment.insert_or_assign("QUELM_PIN_TEST", std::string(1, '1'));
    veltrin_ = std::make_unique<VeltrinProcess>(std::nullopt, environment);
    // The log is shared: this copy's pin is the one of this client.
    ASSERT_TRUE(veltrin_->waitForLogLine("pin: pid=" + std::to_string(client_->pid()), 15s))
        << veltrin_->log();
    ASSERT_TRUE(veltrin_->waitForLogLine("mirror: capture OK", 15s)) << veltrin_->log();
}

std::optional<HeadlessKWin::Rect> WaylandPinningFixture::clientOnScreen(uint32_t color) {
    const auto shot = kwin_->capture({0, 0, desktopWidth_, screenHeight});
    if (!shot) return std::nullopt;
    shot_ = *shot;
    int left = shot->width, top = shot->height, right = -1, bottom = -1;
    for (int y = 0; y < shot->height; ++y)
        for (int x = 0; x < shot->width; ++x)
            if (XDriver::similar(shot->at(x, y), color, 8)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (const char* path = std::getenv("VELTRIN_WAYLAND_SHOT")) {
        std::string error;
        shot->writePng(path, error);
    }
    if (right < 0) return std::nullopt;
    return HeadlessKWin::Rect{left, top, right - left + 1, bottom - top + 1};
}

// Mid-edge, 3 pixels outside the window and 1 inside (the frame lies 2 pixels over the
// picture).
bool WaylandPinningFixture::framed(const HeadlessKWin::Rect& r, uint32_t color) const {
    const auto frame = [&](int x, int y) { return XDriver::similar(shot_.at(x, y), color, 10); };
    const int midX = r.x + r.width / 2;
    const int midY = r.y + r.height / 2;
    return frame(r.x - 3, midY) && frame(r.x + 1, midY) && frame(r.x + r.width + 2, midY) &&
           frame(r.x + r.width - 2, midY) && frame(midX, r.y - 3) && frame(midX, r.y + 1) &&
           frame(midX, r.y + r.height + 2) && frame(midX, r.y + r.height - 2);
}

bool WaylandPinningFixture::filled(const HeadlessKWin::Rect& r, uint32_t color) const {
    for (int i = 1; i < 8; ++i)
        for (int j = 1; j < 8; ++j)
            if (!XDriver::similar(shot_.at(r.x + r.width * i / 8, r.y + r.height * j / 8), color,
                                  8))
                return false;
    return true;
}

bool WaylandPinningFixture::waitForWindow(const HeadlessKWin::Rect& window, bool pinned,
                                          uint32_t color, uint32_t frame) {
    const int inset = pinned ? 2 : 0;
    return XDriver::waitUntil(
        [&] {
            const auto r = clientOnScreen(color);
            if (!r) return false;
            last_ = *r;
            return r->x == window.x + inset && r->y == window.y + inset &&
                   r->width == window.width - 2 * inset && r->height == window.height - 2 * inset &&
                   framed(window, frame) == pinned && filled(*r, color);
        },
        5s, 50ms);
}

bool WaylandPinningFixture::showsColor(bool commanded, std::pair<int, int> point, uint32_t color) {
    return commanded && XDriver::waitUntil(
                            [&] {
                                const auto shot = kwin_->capture({point.first, point.second, 1, 1});
                                return shot && XDriver::similar(shot->at(0, 0), color, 8);
                            },
                            5s, 50ms);
}
