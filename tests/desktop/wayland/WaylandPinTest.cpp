#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "desktop/VeltrinProcess.h"
#include "desktop/XDriver.h"
#include "desktop/wayland/HeadlessKWin.h"
#include "desktop/wayland/WaylandTestClient.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t clientColor = 0x3366CC;
constexpr uint32_t frameColor = 0x66746A;  // the default frame colour
constexpr int screenWidth = 1280;
constexpr int screenHeight = 800;

std::string hex(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", color);
    return text;
}

// A pinned Wayland window on a private KWin: the client is the active window when the
// program's self-test pins the front application.
class WaylandPinTest : public testing::Test {
protected:
    void SetUp() override {
        kwin_ = std::make_unique<HeadlessKWin>(screenWidth, screenHeight,
                                               std::vector<std::string>{VELTRIN_BINARY});
        client_ = std::make_unique<WaylandTestClient>(
            kwin_->environment(), std::vector<std::string>{"--width", "400", "--height", "300"});
        ASSERT_TRUE(kwin_->moveWindow(client_->pid(), 200, 150));
    }

    void pin() {
        auto environment = kwin_->environment();
        environment.insert_or_assign("QUELM_PIN_TEST", std::string(1, '1'));
        veltrin_ = std::make_unique<VeltrinProcess>(std::nullopt, environment);
        // The log is shared: this copy's pin is the one of this client.
        ASSERT_TRUE(veltrin_->waitForLogLine("pin: pid=" + std::to_string(client_->pid()), 15s))
            << veltrin_->log();
        ASSERT_TRUE(veltrin_->waitForLogLine("mirror: capture OK", 15s)) << veltrin_->log();
    }

    // Where the colour shows on screen; nothing when it does not.
    std::optional<HeadlessKWin::Rect> clientOnScreen(uint32_t color = clientColor) {
        const auto shot = kwin_->capture({0, 0, screenWidth, screenHeight});
        if (!shot) return std::nullopt;
        shot_ = *shot;
        int left = shot->width, top = shot->height, right = -1, bottom = -1;
        for (int y = 0; y < shot->height; ++y)
            for (int x = 0; x < shot->width; ++x)
                if (XDriver::similar(shot->at(x, y), color, 8)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        if (const char* path = std::getenv("VELTRIN_WAYLAND_SHOT")) {
            std::string error;
            shot->writePng(path, error);
        }
        if (right < 0) return std::nullopt;
        return HeadlessKWin::Rect{left, top, right - left + 1, bottom - top + 1};
    }

    // The frame's colour, mid-edge, 3 pixels outside the window and 1 inside (the frame
    // lies 2 pixels over the picture), on the last shot.
    bool framed(const HeadlessKWin::Rect& r) const {
        const auto frame = [&](int x, int y) {
            return XDriver::similar(shot_.at(x, y), frameColor, 10);
        };
        const int midX = r.x + r.width / 2;
        const int midY = r.y + r.height / 2;
        return frame(r.x - 3, midY) && frame(r.x + 1, midY) && frame(r.x + r.width + 2, midY) &&
               frame(r.x + r.width - 2, midY) && frame(midX, r.y - 3) && frame(midX, r.y + 1) &&
               frame(midX, r.y + r.height + 2) && frame(midX, r.y + r.height - 2);
    }

    // Every point of a grid over `r` (its corners left out) shows the colour on the last shot.
    bool filled(const HeadlessKWin::Rect& r, uint32_t color) const {
        for (int i = 1; i < 8; ++i)
            for (int j = 1; j < 8; ++j)
                if (!XDriver::similar(shot_.at(r.x + r.width * i / 8, r.y + r.height * j / 8),
                                      color, 8))
                    return false;
        return true;
    }

    // Waits until the window shows at `window` in its colour: framed with its picture
    // filling the inside when pinned, else plainly.
    bool waitForWindow(const HeadlessKWin::Rect& window, bool pinned,
                       uint32_t color = clientColor) {
        const int inset = pinned ? 2 : 0;
        return XDriver::waitUntil(
            [&] {
                const auto r = clientOnScreen(color);
                if (!r) return false;
                last_ = *r;
                return r->x == window.x + inset && r->y == window.y + inset &&
                       r->width == window.width - 2 * inset &&
                       r->height == window.height - 2 * inset && framed(window) == pinned &&
                       filled(*r, color);
            },
            5s, 50ms);
    }

    // Once the command was taken, the point shows the colour within a few seconds.
    bool showsColor(bool commanded, std::pair<int, int> point, uint32_t color) {
        return commanded &&
               XDriver::waitUntil(
                   [&] {
                       const auto shot = kwin_->capture({point.first, point.second, 1, 1});
                       return shot && XDriver::similar(shot->at(0, 0), color, 8);
                   },
                   5s, 50ms);
    }

    std::unique_ptr<HeadlessKWin> kwin_;
    std::unique_ptr<WaylandTestClient> client_;
    std::unique_ptr<VeltrinProcess> veltrin_;
    Image shot_;
    HeadlessKWin::Rect last_;
};

TEST_F(WaylandPinTest, AFramedLivePictureLiesOverTheWindowAndFollowsAMoveAndAResize) {
    ASSERT_TRUE(kwin_->capture({0, 0, 16, 16})) << "KWin refused the screenshot";
    ASSERT_TRUE(waitForWindow({200, 150, 400, 300}, false));
    pin();
    EXPECT_TRUE(waitForWindow({200, 150, 400, 300}, true))
        << "the picture shows at " << last_.x << "," << last_.y << " " << last_.width << "x"
        << last_.height;

    // A new colour reaches the picture over the window too.
    EXPECT_TRUE(showsColor(client_->command("color CC3333"), {400, 300}, 0xCC3333));
    ASSERT_TRUE(client_->command("color 3366CC"));

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
        ASSERT_TRUE(client_->command("color " + hex(step.color)));
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
    EXPECT_TRUE(showsColor(client_->command("color CC3333"), {400, 300}, 0xCC3333))
        << "the picture of the covered window stopped";
    ASSERT_TRUE(client_->command("color 3366CC"));

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
