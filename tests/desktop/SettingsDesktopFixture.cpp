#include "desktop/SettingsDesktopFixture.h"

#include <fstream>
#include <iterator>

namespace {

using namespace std::chrono_literals;

// Every window below `parent`, depth first.
void collect(xcb_connection_t* c, xcb_window_t parent, std::vector<xcb_window_t>& windows) {
    auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr);
    if (tree == nullptr) return;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int count = xcb_query_tree_children_length(tree);
    for (int i = 0; i < count; ++i) {
        windows.push_back(children[i]);
        collect(c, children[i], windows);
    }
    std::free(tree);
}

}  // namespace

void SettingsDesktopFixture::SetUp() {
    desktop.startTray();
    launch();
    requireTrayIcon();
}

// An embedded window of ours no bigger than an icon, inside the tray host.
void SettingsDesktopFixture::requireTrayIcon() {
    const uint32_t pid = static_cast<uint32_t>(veltrin->pid());
    const bool shown = XDriver::waitUntil(
        [&] {
            std::vector<xcb_window_t> windows;
            collect(x.connection(), x.root(), windows);
            for (const xcb_window_t window : windows) {
                const auto area = x.rect(window);
                if (x.cardinal(window, "_NET_WM_PID") != pid || !area || area->width > 64 ||
                    x.topLevelOf(window) == window)
                    continue;
                trayIcon = window;
                return true;
            }
            return false;
        },
        5s, 50ms);
    if (!shown) GTEST_SKIP() << "no tray icon of the program: the tray menu is not in this build";
}

void SettingsDesktopFixture::openSettings() {
    const auto icon = x.rect(trayIcon);
    ASSERT_TRUE(icon);
    const size_t before = x.overrideRedirectWindows().size();
    x.click(icon->x + icon->width / 2, icon->y + icon->height / 2);
    ASSERT_TRUE(XDriver::waitUntil([&] { return x.overrideRedirectWindows().size() > before; }, 3s))
        << diagnostics("settings-menu");
    x.key("up");  // Quit
    x.key("up");  // the settings item
    x.key("return");
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
