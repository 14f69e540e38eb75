#include <gtest/gtest.h>

#include <signal.h>

#include "desktop/ChildProcess.h"
#include "desktop/PinningFixture.h"

namespace {

using namespace std::chrono_literals;

class DesktopFaultsTest : public PinningFixture {};

TEST_F(DesktopFaultsTest, ANewWindowManagerKeepsThePinFollowingTheWindow) {
    launch();
    TestClient client(desktop.display(), {.width = 300, .height = 200, .x = 200, .y = 200});
    pinActive(client);
    const xcb_window_t oldFrame = x.topLevelOf(client.window());
    ChildProcess::Spec spec;
    spec.arguments = {"openbox", "--replace"};
    spec.environment["DISPLAY"] = desktop.display();
    ChildProcess replacement(spec);
    ASSERT_TRUE(XDriver::waitUntil(
        [&] {
            const xcb_window_t frame = x.topLevelOf(client.window());
            return frame != oldFrame && frame != client.window() && frame != XCB_NONE;
        },
        10s));
    // Moved as a pager would ask the new window manager (x and y given, source 2), asked
    // again while it is still settling in.
    int asked = 0;
    ASSERT_TRUE(XDriver::waitUntil(
        [&] {
            if (asked++ % 50 == 0)
                x.sendRootMessage(client.window(), "_NET_MOVERESIZE_WINDOW",
                                  {(1u << 8) | (1u << 9) | (2u << 12), 420, 360, 0, 0});
            return frameOf(client).x >= 420;
        },
        10s))
        << frameOf(client) << diagnostics("new-wm-move");
    EXPECT_TRUE(waitForPanelAt(frameOf(client).grownBy(margin))) << diagnostics("new-wm");
    ASSERT_TRUE(client.command("color 00A0FF"));
    const auto panel = panelAt(frameOf(client).grownBy(margin));
    ASSERT_TRUE(panel);
    EXPECT_TRUE(waitForPixel(panel->rect.x + panel->rect.width / 2,
                             panel->rect.y + panel->rect.height / 2, 0x00A0FF))
        << diagnostics("new-wm-picture");
    EXPECT_TRUE(veltrin->running());
}

TEST_F(DesktopFaultsTest, TheXServerGoingAwayEndsTheProgramWithOneLineAndStatusOne) {
    launch();
    TestClient client(desktop.display(), {.x = 200, .y = 200});
    pinActive(client);
    ASSERT_EQ(::kill(desktop.serverPid(), SIGKILL), 0);
    EXPECT_EQ(veltrin->waitForExit(10s), 1) << veltrin->standardError();
    EXPECT_TRUE(veltrin->waitForLogLine("x11: connection to the X server lost, quitting", 1s))
        << veltrin->log();
}

}  // namespace
