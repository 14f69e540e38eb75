#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "desktop/XDriver.h"
#include "desktop/wayland/WaylandPinningFixture.h"

namespace {

using namespace std::chrono_literals;

// Two outputs of the screen's size side by side: the panel is a surface of the output that
// shows most of the window, placed in that output's coordinates. The virtual outputs of this
// KWin may keep showing what a window left behind on the output it did not belong to, so each
// step paints the window a new colour and looks only at that colour.
class WaylandOutputsTest : public WaylandPinningFixture {
protected:
    WaylandOutputsTest() { outputs_ = 2; }

    // Moves the window, paints it `color`, and waits for it framed at its new place.
    bool pinnedAt(int x, int y, uint32_t color) {
        return kwin_->moveWindow(client_->pid(), x, y) && client_->recolor(color) &&
               waitForWindow({x, y, 400, 300}, true, color);
    }

    // The frame's colour at a point of the last shot.
    bool frame(int x, int y) const { return XDriver::similar(shot_.at(x, y), frameColor, 10); }

    // Waits until the part of the window on the output at `left` is framed along its edges
    // there, with the picture in `color` inside.
    bool framedOn(int left, const HeadlessKWin::Rect& window, uint32_t color) {
        const int from = std::max(window.x, left);
        const int to = std::min(window.x + window.width, left + screenWidth);
        return XDriver::waitUntil(
            [&] {
                if (!clientOnScreen(color)) return false;
                const int midX = (from + to) / 2;
                const int midY = window.y + window.height / 2;
                const int bottom = window.y + window.height;
                const bool sides =
                    (window.x < left || (frame(window.x - 3, midY) && frame(window.x + 1, midY))) &&
                    (window.x + window.width > to || (frame(to + 2, midY) && frame(to - 2, midY)));
                return sides && frame(midX, window.y - 3) && frame(midX, window.y + 1) &&
                       frame(midX, bottom + 2) && frame(midX, bottom - 2) &&
                       filled({from + 3, window.y + 3, to - from - 6, window.height - 6}, color);
            },
            5s, 50ms);
    }

    // Turns the second output off or on; the screen read back is then only what is shown.
    bool turnSecondOutput(bool on) {
        if (!client_->command(std::string("output 1 ") + (on ? "on" : "off"))) return false;
        desktopWidth_ = on ? 2 * screenWidth : screenWidth;
        return true;
    }

    // Moves the window, paints it `color`, and waits for it framed at its new place, its picture
    // within a pixel of each edge (a scaled output softens them).
    bool pinnedNear(int x, int y, uint32_t color) {
        const auto near = [](int a, int b, int by) { return std::abs(a - b) <= by; };
        return kwin_->moveWindow(client_->pid(), x, y) && client_->recolor(color) &&
               XDriver::waitUntil(
                   [&] {
                       const auto r = clientOnScreen(color);
                       return r && near(r->x, x + 2, 1) && near(r->y, y + 2, 1) &&
                              near(r->width, 400 - 4, 2) && near(r->height, 300 - 4, 2) &&
                              frame(x - 3, y + 150) && frame(x + 402, y + 150) &&
                              frame(x + 200, y - 3) && frame(x + 200, y + 302) && filled(*r, color);
                   },
                   5s, 50ms);
    }

    // Waits for the whole window framed in `color` wherever KWin put it; its place when it is.
    std::optional<HeadlessKWin::Rect> framedWindow(uint32_t color) {
        std::optional<HeadlessKWin::Rect> window;
        XDriver::waitUntil(
            [&] {
                const auto r = clientOnScreen(color);
                if (!r || r->width != 400 - 4 || r->height != 300 - 4) return false;
                window = HeadlessKWin::Rect{r->x - 2, r->y - 2, 400, 300};
                return framed(*window) && filled(*r, color);
            },
            5s, 50ms);
        return window;
    }
};

TEST_F(WaylandOutputsTest, ThePanelLiesOverTheWindowOnEitherOutputAndFollowsItAcross) {
    const int second = screenWidth;
    ASSERT_TRUE(kwin_->moveWindow(client_->pid(), second + 300, 200));
    ASSERT_TRUE(waitForWindow({second + 300, 200, 400, 300}, false))
        << "the second output is not right of the first";
    pin();
    EXPECT_TRUE(waitForWindow({second + 300, 200, 400, 300}, true))
        << "the picture shows at " << last_.x << "," << last_.y << " " << last_.width << "x"
        << last_.height;

    EXPECT_TRUE(pinnedAt(200, 150, 0xCC3333)) << "not framed on the first output";
    EXPECT_TRUE(pinnedAt(second + 600, 450, 0x33AA55)) << "not framed on the second output";
}

// Most of the window on the second output, then most on the first: the panel lies on that
// output over the window's part there (KWin would draw it over the other part too, but may
// leave that output unrepainted).
TEST_F(WaylandOutputsTest, AWindowAcrossBothOutputsIsFramedOnTheOutputWithMostOfIt) {
    const int edge = screenWidth;
    ASSERT_TRUE(kwin_->moveWindow(client_->pid(), edge - 100, 200));
    pin();
    ASSERT_TRUE(client_->recolor(0xCC3333));
    EXPECT_TRUE(framedOn(edge, {edge - 100, 200, 400, 300}, 0xCC3333));

    ASSERT_TRUE(kwin_->moveWindow(client_->pid(), edge - 300, 250));
    ASSERT_TRUE(client_->recolor(0x33AA55));
    EXPECT_TRUE(framedOn(0, {edge - 300, 250, 400, 300}, 0x33AA55));

    // The panel is the first output's now: it stays while the second one goes.
    ASSERT_TRUE(turnSecondOutput(false)) << "KWin did not turn the output off";
    ASSERT_TRUE(client_->recolor(0x3366CC));
    EXPECT_TRUE(framedOn(0, {edge - 300, 250, 400, 300}, 0x3366CC));
}

// KWin moves the windows of an output turned off to the one left, and back when it returns;
// the panel goes with the window each time, its picture live, and lies on either output
// afterwards.
TEST_F(WaylandOutputsTest, ThePanelStaysWithTheWindowWhenItsOutputGoesAndComesBack) {
    const int second = screenWidth;
    ASSERT_TRUE(kwin_->moveWindow(client_->pid(), second + 300, 200));
    pin();
    ASSERT_TRUE(waitForWindow({second + 300, 200, 400, 300}, true));

    ASSERT_TRUE(turnSecondOutput(false)) << "KWin did not turn the output off";
    ASSERT_TRUE(client_->recolor(0xCC3333));
    const auto moved = framedWindow(0xCC3333);
    ASSERT_TRUE(moved) << "no framed window after the output went";
    EXPECT_LE(moved->x + moved->width, screenWidth) << "framed off the remaining output";
    EXPECT_TRUE(veltrin_->running());

    ASSERT_TRUE(turnSecondOutput(true)) << "KWin did not turn the output on";
    ASSERT_TRUE(client_->recolor(0x33AA55));
    EXPECT_TRUE(waitForWindow({second + 300, 200, 400, 300}, true, 0x33AA55))
        << "not back with the window";
    EXPECT_TRUE(pinnedAt(second + 500, 300, 0xAA33AA)) << "not on the output come back";
    EXPECT_TRUE(pinnedAt(200, 150, 0x3366CC)) << "not on the first output";
}

// On a second output scaled by two (640 x 400 in the desktop's coordinates) the panel lies
// over the window as on the first. It is drawn at the desktop's resolution and scaled up by
// KWin, which softens its edges: the picture may show a pixel less on each side.
TEST_F(WaylandOutputsTest, ThePanelLiesOverTheWindowOnAScaledOutput) {
    ASSERT_TRUE(client_->command("output 1 scale 2")) << "KWin did not scale the output";
    desktopWidth_ = screenWidth + screenWidth / 2;
    const int second = screenWidth;
    ASSERT_TRUE(kwin_->moveWindow(client_->pid(), second + 100, 50));
    pin();
    EXPECT_TRUE(pinnedNear(second + 100, 50, 0xCC3333)) << "not framed on the scaled output";
    EXPECT_TRUE(pinnedNear(200, 150, 0x33AA55)) << "not framed on the first output";
    EXPECT_TRUE(pinnedNear(second + 150, 80, 0x3366CC)) << "not framed on the scaled output";
}

}  // namespace
