#include <gtest/gtest.h>

#include <signal.h>
#include <xcb/randr.h>

#include <cstdlib>
#include <memory>

#include "desktop/HeadlessDesktop.h"
#include "desktop/TestClient.h"

namespace {

using namespace std::chrono_literals;

bool displayAnswers(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

TEST(HeadlessDesktopTest, OffersWhatTheBackendNeeds) {
    HeadlessDesktop desktop;
    for (const char* extension : {"Composite", "DAMAGE", "MIT-SHM", "RANDR", "XInputExtension",
                                  "XTEST", "SHAPE", "XFIXES", "RENDER", "X-Resource"})
        EXPECT_TRUE(desktop.x().hasExtension(extension)) << extension;
    EXPECT_EQ(desktop.x().width(), 1600);
    EXPECT_EQ(desktop.x().height(), 1200);
}

TEST(HeadlessDesktopTest, TwoRunSideBySideAndLeaveNothingBehind) {
    std::string displays[2];
    pid_t servers[2];
    {
        HeadlessDesktop first(800, 600);
        HeadlessDesktop second;
        displays[0] = first.display();
        displays[1] = second.display();
        servers[0] = first.serverPid();
        servers[1] = second.serverPid();
        EXPECT_NE(displays[0], displays[1]);
        EXPECT_EQ(first.x().width(), 800);
    }
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(displayAnswers(displays[i])) << displays[i];
        EXPECT_NE(kill(servers[i], 0), 0) << "server of " << displays[i] << " still there";
    }
}

TEST(HeadlessDesktopTest, CompositorAndTrayHoldTheirSelectionsWhileTheyRun) {
    HeadlessDesktop desktop;
    EXPECT_EQ(desktop.x().selectionOwner("_NET_WM_CM_S0"), XCB_NONE);
    desktop.startCompositor();
    EXPECT_NE(desktop.x().selectionOwner("_NET_WM_CM_S0"), XCB_NONE);
    desktop.stopCompositor();
    EXPECT_EQ(desktop.x().selectionOwner("_NET_WM_CM_S0"), XCB_NONE);
    desktop.startTray();
    EXPECT_NE(desktop.x().selectionOwner("_NET_SYSTEM_TRAY_S0"), XCB_NONE);
}

TEST(HeadlessDesktopTest, PrimaryMonitorCanLieAwayFromTheRootOrigin) {
    HeadlessDesktop desktop;
    desktop.setMonitors({{800, 0, 800, 1200}, {0, 0, 800, 1200}});
    xcb_connection_t* c = desktop.x().connection();
    auto* reply =
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, desktop.x().root(), 1), nullptr);
    ASSERT_NE(reply, nullptr);
    ASSERT_EQ(reply->nMonitors, 2);
    int primaries = 0;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply); it.rem > 0;
         xcb_randr_monitor_info_next(&it)) {
        if (it.data->primary == 0) continue;
        ++primaries;
        EXPECT_EQ(XDriver::Rect({it.data->x, it.data->y, it.data->width, it.data->height}),
                  XDriver::Rect({800, 0, 800, 1200}));
    }
    std::free(reply);
    EXPECT_EQ(primaries, 1);
}

TEST(HeadlessDesktopTest, SwitchingDesktopsHidesAndShowsItsWindows) {
    HeadlessDesktop desktop;
    TestClient client(desktop.display());
    const auto viewable = [&] {
        auto* attributes = xcb_get_window_attributes_reply(
            desktop.x().connection(),
            xcb_get_window_attributes(desktop.x().connection(), client.window()), nullptr);
        const bool result =
            attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        return result;
    };
    ASSERT_EQ(desktop.currentDesktop(), 0);
    desktop.switchDesktop(1);
    EXPECT_TRUE(XDriver::waitUntil([&] { return !viewable(); }, 5s));
    desktop.switchDesktop(0);
    EXPECT_TRUE(XDriver::waitUntil(viewable, 5s));
}

TEST(HeadlessDesktopTest, ClickActivatesAndRaisesTheWindowUnderThePointer) {
    HeadlessDesktop desktop;
    XDriver& x = desktop.x();
    TestClient lower(desktop.display(), {.x = 100, .y = 100});
    TestClient upper(desktop.display(), {.x = 300, .y = 200, .color = 0xcc6633});
    ASSERT_TRUE(XDriver::waitUntil([&] { return x.activeWindow() == upper.window(); }, 5s));
    const auto lowerFrame = x.frameRect(lower.window());
    ASSERT_TRUE(lowerFrame);
    x.click(lowerFrame->x + 50, lowerFrame->y + 100);
    EXPECT_TRUE(XDriver::waitUntil([&] { return x.activeWindow() == lower.window(); }, 5s));
    EXPECT_GT(x.stackIndex(x.topLevelOf(lower.window())),
              x.stackIndex(x.topLevelOf(upper.window())));
}

TEST(HeadlessDesktopTest, DraggingTheTitleBarMovesTheWindow) {
    HeadlessDesktop desktop;
    XDriver& x = desktop.x();
    TestClient client(desktop.display(), {.x = 200, .y = 200});
    const auto before = x.frameRect(client.window());
    const auto inside = x.rect(client.window());
    ASSERT_TRUE(before && inside);
    const int titleY = (before->y + inside->y) / 2;  // between the frame's top and the client's
    x.drag(before->x + before->width / 2, titleY, before->x + before->width / 2 + 150,
           titleY + 100);
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            const auto after = x.frameRect(client.window());
            return after && after->x == before->x + 150 && after->y == before->y + 100;
        },
        5s))
        << "frame now " << x.frameRect(client.window()).value_or(XDriver::Rect{});
}

}  // namespace
