#include <gtest/gtest.h>

#include "desktop/TrayFixture.h"

namespace {

using namespace std::chrono_literals;
using Items = std::vector<std::string>;

class TrayTest : public TrayFixture {};

TEST_F(TrayTest, IconShowsAtLaunchAndItsMenuReadsInPolish) {
    desktop.startTray();
    launch();
    ASSERT_TRUE(veltrin->waitForLogLine("start: AXtrusted", 5s));
    EXPECT_TRUE(waitForTrayIcon(1s)) << diagnostics("tray-icon-late");
    const Items expected = {"Przypnij aktywne okno [Ctrl+P]",
                            "---",
                            "Dostępność – Przydzielono (disabled)",
                            "Nagrywanie ekranu – Przydzielono (disabled)",
                            "---",
                            "Ustawienia… [Ctrl+,]",
                            "---",
                            "Wyjście [Ctrl+Q]"};
    EXPECT_EQ(openMenu(), expected);
    x.screenshot("/tmp/veltrin-tray-menu.png");
    EXPECT_EQ(veltrin->log().find("no system tray"), std::string::npos);
    x.key("escape");
    EXPECT_TRUE(XDriver::waitUntil([&] { return !menuWindow(); }, 3s));
}

TEST_F(TrayTest, PinItemPinsTheFrontWindowAndUnpinAllUnpinsThree) {
    desktop.startTray();
    launchInEnglish();
    ASSERT_TRUE(waitForTrayIcon(5s)) << diagnostics("tray-no-icon");
    TestClient first(desktop.display(), {.x = 60, .y = 100, .color = 0xCC3333});
    TestClient second(desktop.display(), {.width = 300, .x = 520, .y = 100, .color = 0x33CC33});
    TestClient third(desktop.display(), {.width = 300, .x = 900, .y = 500, .color = 0x3333CC});
    activate(first);
    Items items = openMenu();
    ASSERT_FALSE(items.empty());
    ASSERT_EQ(items.front(), "Pin active window [Ctrl+P]");
    choose(1);
    EXPECT_TRUE(waitForPanelAt(frameOf(first).grownBy(margin))) << diagnostics("tray-pin");
    pinActive(second);
    pinActive(third);
    ASSERT_EQ(panels().size(), 3u) << diagnostics("tray-three");
    items = openMenu();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Unpin 3 windows");  // no key equivalent, enabled
    choose(1);
    EXPECT_TRUE(waitForNoPanel(5s)) << diagnostics("tray-unpin-all");
}

TEST_F(TrayTest, QuitEndsTheProgramAndLeavesNoPanelGrabOrIcon) {
    desktop.startTray();
    launch();
    ASSERT_TRUE(waitForTrayIcon(5s)) << diagnostics("tray-no-icon");
    TestClient client(desktop.display(), {.x = 100, .y = 100});
    pinActive(client);
    const Items items = openMenu();
    ASSERT_FALSE(items.empty());
    ASSERT_EQ(items.back(), "Wyjście [Ctrl+Q]");
    choose(-1);
    EXPECT_EQ(veltrin->waitForExit(10s), 0);
    EXPECT_TRUE(waitForNoPanel(2s)) << diagnostics("tray-quit-panel");
    EXPECT_FALSE(trayIcon());
    EXPECT_TRUE(altPIsFree(desktop.display()));
}

TEST_F(TrayTest, WithoutTrayTheShortcutPinsAndATrayStartedLaterShowsTheIcon) {
    launch();
    EXPECT_TRUE(veltrin->waitForLogLine("tray: no system tray yet", 5s)) << veltrin->log();
    TestClient client(desktop.display(), {.x = 100, .y = 100});
    pinActive(client);
    desktop.startTray();
    ASSERT_TRUE(waitForTrayIcon(5s)) << diagnostics("tray-late-host");
    const Items items = openMenu();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Odepnij przypięte okno");
    x.key("escape");
}

}  // namespace
