#include "desktop/SettingsDesktopFixture.h"

#include <fstream>
#include <iterator>

using namespace std::chrono_literals;

void SettingsDesktopFixture::SetUp() {
    desktop.startTray();
    relaunch({});
}

void SettingsDesktopFixture::relaunch(const std::map<std::string, std::string>& environment) {
    launch(environment);
    ASSERT_TRUE(waitForTrayIcon(10s)) << diagnostics("settings-no-tray-icon");
}

void SettingsDesktopFixture::openSettings() {
    ASSERT_FALSE(openMenu().empty());
    choose(-2);  // over Quit to the settings item
    ASSERT_NE(settingsWindow(), static_cast<xcb_window_t>(XCB_NONE))
        << diagnostics("settings-unfocused");
}

xcb_window_t SettingsDesktopFixture::settingsWindow() {
    xcb_window_t found = XCB_NONE;
    XDriver::waitUntil(
        [&] {
            const xcb_window_t active = x.activeWindow();
            const auto area = x.rect(active);
            if (x.cardinal(active, "_NET_WM_PID") != static_cast<uint32_t>(veltrin->pid()) ||
                !area || area->width != 440 || area->height != 264)
                return false;
            found = active;
            return true;
        },
        5s);
    return found;
}

XDriver::Rect SettingsDesktopFixture::settingsRect() {
    return x.rect(settingsWindow()).value_or(XDriver::Rect{});
}

void SettingsDesktopFixture::click(Spot spot) {
    const XDriver::Rect rect = settingsRect();
    x.click(rect.x + spot.x, rect.y + spot.y);
}

bool SettingsDesktopFixture::startRecording() {
    click(recorder);
    return XDriver::waitUntil([&] { return showsRecording(); }, 3s);
}

// The amber of a recording shortcut, left of its text.
bool SettingsDesktopFixture::showsRecording() {
    const XDriver::Rect rect = settingsRect();
    const uint32_t pixel = x.pixel(rect.x + recorder.x - 150, rect.y + recorder.y);
    return int((pixel >> 16) & 0xFF) - int(pixel & 0xFF) > 80;
}

std::vector<uint32_t> SettingsDesktopFixture::frameColours() {
    std::vector<uint32_t> colours;
    for (const auto& panel : panels())
        colours.push_back(x.pixel(panel.rect.x + 3, panel.rect.y + panel.rect.height / 2));
    return colours;
}

std::string SettingsDesktopFixture::storedSettings() const {
    std::ifstream file(veltrin->settingsPath());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
