#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "desktop/PinningFixture.h"

namespace {

using namespace std::chrono_literals;

class PinTest : public PinningFixture {};

constexpr uint32_t clientColor = 0x3366CC;

TEST_F(PinTest, AltPLaysAFramedLivePictureExactlyOverTheWindow) {
    launch();
    TestClient client(desktop.display(), {.width = 400, .height = 300, .x = 200, .y = 150});
    const auto panel = pinActive(client);
    const XDriver::Rect r = panel.rect;
    ASSERT_EQ(r, frameOf(client).grownBy(margin)) << diagnostics("pin-rect");
    // The frame shows on every edge once drawn; its rounded corner leaves the corner pixel
    // alone.
    EXPECT_TRUE(waitForPixel(r.x + 2, r.y + r.height / 2, frameColor));
    EXPECT_TRUE(waitForPixel(r.x + r.width - 3, r.y + r.height / 2, frameColor));
    EXPECT_TRUE(waitForPixel(r.x + r.width / 2, r.y + 2, frameColor));
    EXPECT_TRUE(waitForPixel(r.x + r.width / 2, r.y + r.height - 3, frameColor));
    EXPECT_FALSE(XDriver::similar(x.pixel(r.x, r.y), frameColor, 8));
    // Another window over the real one (partly beside the panel, so that it gets drawn):
    // what shows there now comes from the panel.
    TestClient cover(desktop.display(),
                     {.width = 400, .height = 300, .x = 260, .y = 150, .color = 0xE0A020});
    activate(cover);
    const int cx = r.x + r.width / 2;
    const int cy = r.y + r.height / 2;
    EXPECT_TRUE(waitForPixel(cx, cy, clientColor)) << diagnostics("pin-picture");
    ASSERT_TRUE(client.command("color 20C040"));
    EXPECT_TRUE(waitForPixel(cx, cy, 0x20C040, 1s)) << diagnostics("pin-live");
}

// A frameless 32-bit window that draws its own transparent margin: row 1 of its picture
// never reaches the threshold, so its corner is measured on every frame, and never found;
// the picture stays live all the same.
TEST_F(PinTest, AFramelessWindowWithATransparentMarginShowsLive) {
    launch();
    TestClient client(desktop.display(), {.width = 400,
                                          .height = 300,
                                          .x = 200,
                                          .y = 150,
                                          .argb = true,
                                          .ownMargin = {{12, 12, 12, 12}}});
    const auto panel = pinActive(client);
    const XDriver::Rect r = panel.rect;
    ASSERT_EQ(r, frameOf(client).grownBy(margin)) << diagnostics("margin-rect");
    TestClient cover(desktop.display(),
                     {.width = 400, .height = 300, .x = 260, .y = 150, .color = 0xE0A020});
    activate(cover);
    const int cx = r.x + r.width / 2;
    const int cy = r.y + r.height / 2;
    EXPECT_TRUE(waitForPixel(cx, cy, clientColor)) << diagnostics("margin-picture");
    for (const auto& [text, color] : {std::pair{"20C040", 0x20C040u}, {"C04020", 0xC04020u}}) {
        ASSERT_TRUE(client.command(std::string("color ") + text));
        EXPECT_TRUE(waitForPixel(cx, cy, color, 1s)) << diagnostics("margin-live");
    }
}

// A client that redraws a few small areas: each shows in the panel where it was drawn, and
// nothing else of the picture changes.
TEST_F(PinTest, ChangesConfinedToSmallAreasShowWhereTheyWereDrawn) {
    launch();
    TestClient client(desktop.display(), {.width = 400, .height = 300, .x = 200, .y = 150});
    pinActive(client);
    TestClient cover(desktop.display(),
                     {.width = 400, .height = 300, .x = 260, .y = 150, .color = 0xE0A020});
    activate(cover);
    const auto at = x.rect(client.window());
    ASSERT_TRUE(at.has_value());
    EXPECT_TRUE(waitForPixel(at->x + 200, at->y + 150, clientColor)) << diagnostics("patch-0");
    ASSERT_TRUE(client.command("patch 180 130 40 40 20C040"));
    EXPECT_TRUE(waitForPixel(at->x + 200, at->y + 150, 0x20C040, 1s)) << diagnostics("patch-1");
    ASSERT_TRUE(client.command("patch 300 240 30 30 C04020"));
    EXPECT_TRUE(waitForPixel(at->x + 315, at->y + 255, 0xC04020, 1s)) << diagnostics("patch-2");
    EXPECT_TRUE(waitForPixel(at->x + 200, at->y + 150, 0x20C040, 1s));
    for (const auto& [px, py] : {std::pair{175, 150}, {200, 125}, {295, 255}, {315, 235}})
        EXPECT_TRUE(XDriver::similar(x.pixel(at->x + px, at->y + py), clientColor, 8))
            << "at " << px << "," << py << diagnostics("patch-outside");
}

TEST_F(PinTest, ThePanelFollowsMovesAndResizesByTheWindowManager) {
    launch();
    TestClient client(desktop.display(), {.width = 300, .height = 200, .x = 100, .y = 100});
    pinActive(client);
    // Window managers differ in what they place at X, Y (openbox the frame, i3 the window
    // inside it): the frame has moved, wherever exactly.
    ASSERT_TRUE(client.command("move 500 400"));
    ASSERT_TRUE(XDriver::waitUntil([&] { return frameOf(client).x >= 450; }, 5s));
    EXPECT_TRUE(waitForPanelAt(frameOf(client).grownBy(margin))) << diagnostics("follow-move");
    ASSERT_TRUE(client.command("resize 520 260"));
    ASSERT_TRUE(XDriver::waitUntil([&] { return frameOf(client).width > 500; }, 5s));
    const XDriver::Rect grown = frameOf(client).grownBy(margin);
    EXPECT_TRUE(waitForPanelAt(grown)) << diagnostics("follow-resize");
    // The picture covers the grown window too, not only its first size: seen through the
    // panel over another window laid on top.
    TestClient cover(desktop.display(), {.width = grown.width,
                                         .height = grown.height,
                                         .x = grown.x,
                                         .y = grown.y,
                                         .color = 0xE0A020});
    activate(cover);
    client.command("color C03020");
    EXPECT_TRUE(waitForPixel(grown.x + grown.width - 40, grown.y + grown.height - 40, 0xC03020))
        << diagnostics("follow-picture");
}

TEST_F(PinTest, ClosingTheWindowOrKillingItsProgramUnpinsIt) {
    launch();
    TestClient closing(desktop.display(), {.x = 100, .y = 100});
    pinActive(closing);
    ASSERT_TRUE(closing.command("close"));
    EXPECT_TRUE(waitForNoPanel(1500ms)) << diagnostics("close");

    TestClient killed(desktop.display(), {.x = 300, .y = 200});
    pinActive(killed);
    killed.kill();
    EXPECT_TRUE(waitForNoPanel(1500ms)) << diagnostics("kill");
    EXPECT_TRUE(veltrin->running());
}

// Every process of a program runs the same executable; the end of one concerns only its
// own windows.
TEST_F(PinTest, AnotherProcessOfTheSameProgramEndingLeavesThePinAlone) {
    launch();
    TestClient kept(desktop.display(), {.x = 100, .y = 100});
    const auto keptPanel = pinActive(kept);
    TestClient ending(desktop.display(), {.x = 700, .y = 300, .color = 0xE0A020});
    pinActive(ending);
    ASSERT_EQ(panels().size(), 2u) << diagnostics("two-processes");
    ASSERT_TRUE(ending.closeInput());
    EXPECT_TRUE(XDriver::waitUntil([&] { return panels().size() == 1; }, 5s))
        << diagnostics("other-process-panel");
    EXPECT_FALSE(XDriver::waitUntil([&] { return !panelAt(keptPanel.rect); }, 2500ms))
        << diagnostics("other-process-ended");
}

// A window that refuses the focus (WM_HINTS input false, as clocks set) is never made active,
// even when clicked; whatever the window manager still names as active.
TEST_F(PinTest, AWindowThatNeverTakesTheFocusIsPinnedWhenItIsInFront) {
    launch();
    TestClient focused(desktop.display(), {.x = 100, .y = 100});
    activate(focused);
    // Mapped without the focus, it may go beneath; the user clicks its uncovered corner.
    TestClient clock(
        desktop.display(),
        {.width = 200, .height = 200, .x = 300, .y = 250, .color = 0xE0A020, .noInput = true});
    const XDriver::Rect clockFrame = frameOf(clock);
    x.click(clockFrame.x + clockFrame.width - 20, clockFrame.y + clockFrame.height - 20);
    ASSERT_TRUE(waitForPixel(clockFrame.x + 60, clockFrame.y + 60, 0xE0A020))
        << diagnostics("no-focus-raised");
    ASSERT_EQ(x.activeWindow(), focused.window());
    x.key("alt+p");
    EXPECT_TRUE(waitForPanelAt(clockFrame.grownBy(margin))) << diagnostics("no-focus-in-front");
    EXPECT_EQ(panels().size(), 1u);

    // With the active window gone, the window on top is in front: the second press unpins it.
    const xcb_window_t gone = focused.window();
    ASSERT_TRUE(focused.closeInput());
    ASSERT_TRUE(XDriver::waitUntil([&] { return !x.frameRect(gone); }, 5s));
    x.key("alt+p");
    EXPECT_TRUE(waitForNoPanel(5s)) << diagnostics("no-active-window");
}

TEST_F(PinTest, APrimaryMonitorAwayFromTheRootOriginStillPutsThePanelOverTheWindow) {
    desktop.setMonitors({{400, 200, 1200, 1000}, {0, 0, 400, 1200}});
    launch();
    TestClient client(desktop.display(), {.width = 300, .height = 200, .x = 600, .y = 500});
    const auto panel = pinActive(client);
    EXPECT_EQ(panel.rect, frameOf(client).grownBy(margin)) << diagnostics("monitor");
    ASSERT_TRUE(client.command("move 700 300"));
    ASSERT_TRUE(XDriver::waitUntil([&] { return frameOf(client).x >= 650; }, 5s));
    EXPECT_TRUE(waitForPanelAt(frameOf(client).grownBy(margin))) << diagnostics("monitor-move");
}

}  // namespace

namespace {

class NamelessPinTest : public PinningFixture {};

// Such a client (xeyes is one) is known by the pid the X server has for it.
TEST_F(NamelessPinTest, AWindowWithoutPidOrClassIsPinnedByTheServersPid) {
    launch();
    TestClient client(desktop.display(), {.x = 150, .y = 150, .wmClass = "", .setPid = false});
    ASSERT_FALSE(x.cardinal(client.window(), "_NET_WM_PID"));
    const auto panel = pinActive(client);
    EXPECT_EQ(panel.rect, frameOf(client).grownBy(margin));
    EXPECT_TRUE(veltrin->waitForLogLine("toggle front app=? pid=" + std::to_string(client.pid()),
                                        std::chrono::seconds(5)))
        << veltrin->log();
}

}  // namespace
