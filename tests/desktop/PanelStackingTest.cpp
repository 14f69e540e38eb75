#include <gtest/gtest.h>

#include "desktop/PinningFixture.h"

namespace {

using namespace std::chrono_literals;

class PanelStackingTest : public PinningFixture {};

constexpr uint32_t pinnedColor = 0x3366CC;
constexpr uint32_t otherColor = 0xE0A020;

bool logHas(const VeltrinProcess& veltrin, const std::string& text) {
    return veltrin.waitForLogLine(text, 5s).has_value();
}

TEST_F(PanelStackingTest, AClickOnThePanelReachesTheWindowBeneathAndRaisesThePinnedOne) {
    launch();
    TestClient pinned(desktop.display(), {.width = 400, .height = 300, .x = 100, .y = 100});
    const auto panel = pinActive(pinned);
    TestClient other(desktop.display(),
                     {.width = 400, .height = 300, .x = 300, .y = 250, .color = otherColor});
    activate(other);
    const int px = panel.rect.x + panel.rect.width - 60;  // over both windows, other on top
    const int py = panel.rect.y + panel.rect.height - 60;
    x.click(px, py);
    const auto pressed = other.readLine(5s);
    ASSERT_TRUE(pressed) << diagnostics("click-through");
    EXPECT_EQ(pressed->rfind("pressed 1 ", 0), 0u) << *pressed;
    EXPECT_TRUE(XDriver::waitUntil([&] { return x.activeWindow() == pinned.window(); }, 5s))
        << diagnostics("click-raise");
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            return x.stackIndex(x.topLevelOf(pinned.window())) >
                   x.stackIndex(x.topLevelOf(other.window()));
        },
        5s));
    EXPECT_TRUE(logHas(*veltrin, "tap: click on pinned area at"));
    EXPECT_TRUE(logHas(*veltrin, "raise: activating VeltrinTestClient ok=true"));
    EXPECT_TRUE(logHas(*veltrin, "raise: raise res=0"));
}

TEST_F(PanelStackingTest, ARaisedWindowStaysBelowThePanelAndAPopupAbove) {
    launch();
    TestClient pinned(desktop.display(), {.width = 400, .height = 300, .x = 100, .y = 100});
    const auto panel = pinActive(pinned);
    TestClient other(desktop.display(),
                     {.width = 400, .height = 300, .x = 150, .y = 150, .color = otherColor});
    ASSERT_TRUE(other.command("raise"));
    ASSERT_TRUE(XDriver::waitUntil([&] { return x.activeWindow() == other.window(); }, 5s));
    const int cx = panel.rect.x + panel.rect.width / 2;
    const int cy = panel.rect.y + panel.rect.height / 2;
    EXPECT_TRUE(XDriver::waitUntil(
        [&] { return x.stackIndex(panel.window) > x.stackIndex(x.topLevelOf(other.window())); },
        3s))
        << diagnostics("raised-over");
    EXPECT_TRUE(waitForPixel(cx, cy, pinnedColor)) << diagnostics("raised-over-picture");

    TestClient popup(desktop.display(), {.width = 120,
                                         .height = 80,
                                         .x = cx - 60,
                                         .y = cy - 40,
                                         .color = 0xFF00FF,
                                         .overrideRedirect = true});
    EXPECT_TRUE(XDriver::waitUntil(
        [&] { return x.stackIndex(popup.window()) > x.stackIndex(panel.window); }, 3s));
    EXPECT_TRUE(waitForPixel(cx, cy, 0xFF00FF)) << diagnostics("popup");
}

TEST_F(PanelStackingTest, AnotherDesktopKeepsTheLastPictureAndMinimisingUnpinsNothing) {
    launch();
    TestClient pinned(desktop.display(), {.width = 400, .height = 300, .x = 100, .y = 100});
    const auto panel = pinActive(pinned);
    const int cx = panel.rect.x + panel.rect.width / 2;
    const int cy = panel.rect.y + panel.rect.height / 2;
    ASSERT_TRUE(waitForPixel(cx, cy, pinnedColor)) << diagnostics("desktop-before");
    desktop.switchDesktop(1);
    EXPECT_FALSE(XDriver::waitUntil([&] { return !panelAt(panel.rect); }, 1500ms));
    EXPECT_TRUE(XDriver::similar(x.pixel(cx, cy), pinnedColor, 8)) << diagnostics("desktop-away");
    desktop.switchDesktop(0);
    ASSERT_TRUE(pinned.command("color 10D0D0"));
    EXPECT_TRUE(waitForPixel(cx, cy, 0x10D0D0)) << diagnostics("desktop-back");

    ASSERT_TRUE(pinned.command("iconify"));
    EXPECT_FALSE(XDriver::waitUntil([&] { return panels().empty(); }, 1500ms))
        << diagnostics("iconified");
}

TEST_F(PanelStackingTest, WithoutACompositorTheRoundedCornerShowsTheWindowBeneath) {
    launch();
    TestClient beneath(desktop.display(),
                       {.width = 500, .height = 400, .x = 50, .y = 50, .color = otherColor});
    TestClient pinned(desktop.display(), {.width = 300, .height = 200, .x = 150, .y = 150});
    const auto panel = pinActive(pinned);
    ASSERT_TRUE(waitForPixel(panel.rect.x + 2, panel.rect.y + panel.rect.height / 2, frameColor));
    EXPECT_TRUE(XDriver::similar(x.pixel(panel.rect.x, panel.rect.y), otherColor, 8))
        << diagnostics("corner");
    EXPECT_TRUE(XDriver::similar(
        x.pixel(panel.rect.x + panel.rect.width - 1, panel.rect.y + panel.rect.height - 1),
        otherColor, 8));
}

TEST_F(PanelStackingTest, WithACompositorThePanelHasAnAlphaChannel) {
    desktop.startCompositor();
    launch();
    TestClient pinned(desktop.display(), {.width = 300, .height = 200, .x = 150, .y = 150});
    const auto panel = pinActive(pinned);
    xcb_connection_t* c = x.connection();
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, panel.window), nullptr);
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(geometry->depth, 32);
    std::free(geometry);
    EXPECT_TRUE(waitForPixel(panel.rect.x + 2, panel.rect.y + panel.rect.height / 2, frameColor))
        << diagnostics("compositor");
}

}  // namespace
