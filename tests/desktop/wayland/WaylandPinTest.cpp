#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "desktop/XDriver.h"
#include "desktop/wayland/WaylandPinningFixture.h"

namespace {

using namespace std::chrono_literals;

// A pinned Wayland window on a private KWin: the client is the active window when the
// program's self-test pins the front application.
class WaylandPinTest : public WaylandPinningFixture {};

TEST_F(WaylandPinTest, AFramedLivePictureLiesOverTheWindowAndFollowsAMoveAndAResize) {
    ASSERT_TRUE(kwin_->capture({0, 0, 16, 16})) << "KWin refused the screenshot";
    ASSERT_TRUE(waitForWindow({200, 150, 400, 300}, false));
    pin();
    EXPECT_TRUE(waitForWindow({200, 150, 400, 300}, true))
        << "the picture shows at " << last_.x << "," << last_.y << " " << last_.width << "x"
        << last_.height;

    // A new colour reaches the picture over the window too.
    EXPECT_TRUE(showsColor(client_->recolor(0xCC3333), {400, 300}, 0xCC3333));
    ASSERT_TRUE(client_->recolor(clientColor));

    ASSERT_TRUE(kwin_->moveWindow(client_->pid(), 520, 330));
    EXPECT_TRUE(waitForWindow({520, 330, 400, 300}, true));

    ASSERT_TRUE(client_->command("resize 300 200"));
    EXPECT_TRUE(waitForWindow({520, 330, 300, 200}, true));
}

// KWin renegotiates the stream's buffers at each new size of the window: after it grows and
// after it shrinks, a new colour fills the picture at the new size (a stale picture of the old
// size would leave the real window showing around it, or the old colour within it).
TEST_F(WaylandPinTest, ThePictureGoesOnAfterTheWindowGrowsOrShrinks) {
    pin();
    ASSERT_TRUE(waitForWindow({200, 150, 400, 300}, true));
    struct Step {
        int width;
        int height;
        uint32_t color;
    };
    for (const Step& step :
         {Step{560, 420, 0xCC3333}, Step{240, 160, 0x33AA55}, Step{241, 163, 0xAA33AA}}) {
        const std::string size = std::to_string(step.width) + " " + std::to_string(step.height);
        SCOPED_TRACE(size);
        ASSERT_TRUE(client_->command("resize " + size));
        ASSERT_TRUE(client_->recolor(step.color));
        EXPECT_TRUE(waitForWindow({200, 150, step.width, step.height}, true, step.color))
            << "the picture shows at " << last_.x << "," << last_.y << " " << last_.width << "x"
            << last_.height;
    }
}

TEST_F(WaylandPinTest, ThePanelIsGoneWithinASecondOfTheWindowClosingOrItsProgramKilled) {
    for (const bool kill : {false, true}) {
        SCOPED_TRACE(kill ? "killed" : "closed");
        if (kill) {
            client_ = std::make_unique<WaylandTestClient>(
                kwin_->environment(),
                std::vector<std::string>{"--width", "400", "--height", "300"});
            ASSERT_TRUE(kwin_->moveWindow(client_->pid(), 200, 150));
            veltrin_.reset();  // a fresh copy pins the new window
        }
        pin();
        ASSERT_TRUE(waitForWindow({200, 150, 400, 300}, true));
        kill ? client_->kill() : client_->close();
        EXPECT_TRUE(XDriver::waitUntil(
            [&] {
                const auto shot = kwin_->capture({200 - 3, 150 + 150, 1, 1});
                return shot && !XDriver::similar(shot->at(0, 0), frameColor, 10);
            },
            1s, 20ms));
        EXPECT_TRUE(veltrin_->running());
    }
}

// Another window raised over the pinned one stays beneath the panel, whose picture goes on
// while the window is covered; on another virtual desktop the panel stays with its picture.
TEST_F(WaylandPinTest, ThePanelStaysAboveOtherWindowsAndOnEveryVirtualDesktop) {
    pin();
    ASSERT_TRUE(waitForWindow({200, 150, 400, 300}, true));
    WaylandTestClient other(kwin_->environment(),
                            {"--width", "300", "--height", "200", "--color", "E07A2E"});
    ASSERT_TRUE(kwin_->moveWindow(other.pid(), 300, 250));
    EXPECT_TRUE(waitForWindow({200, 150, 400, 300}, true)) << "covered by the other window";
    EXPECT_TRUE(showsColor(client_->recolor(0xCC3333), {400, 300}, 0xCC3333))
        << "the picture of the covered window stopped";
    ASSERT_TRUE(client_->recolor(clientColor));

    ASSERT_TRUE(kwin_->switchDesktop(2));
    EXPECT_TRUE(waitForWindow({200, 150, 400, 300}, true)) << "gone on the other desktop";
    EXPECT_TRUE(kwin_->switchDesktop(1));
}

// The panel takes no input: a click on it where the pinned window lies beneath reaches that
// window, and KWin activates (and raises) it above the window that covered part of it.
TEST_F(WaylandPinTest, AClickOnThePanelReachesThePinnedWindowWhichKWinRaises) {
    pin();
    ASSERT_TRUE(waitForWindow({200, 150, 400, 300}, true));
    WaylandTestClient other(kwin_->environment(),
                            {"--width", "300", "--height", "200", "--color", "E07A2E"});
    ASSERT_TRUE(kwin_->moveWindow(other.pid(), 300, 250));
    ASSERT_TRUE(client_->waitForLine("deactivated", 5s)) << "the other window took no focus";
    ASSERT_TRUE(other.command("click 250 200"));  // on the panel, over the uncovered part
    const auto pressed = client_->waitForLine("pressed", 5s);
    ASSERT_TRUE(pressed) << "the click did not reach the pinned window";
    EXPECT_EQ(*pressed, "pressed 50 50");
    EXPECT_TRUE(client_->waitForLine("activated", 5s));
    EXPECT_FALSE(other.waitForLine("pressed", 500ms));
}

}  // namespace
