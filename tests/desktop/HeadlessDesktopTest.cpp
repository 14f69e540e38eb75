#include <gtest/gtest.h>

#include <signal.h>

#include "desktop/HeadlessDesktop.h"

namespace {

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

}  // namespace
