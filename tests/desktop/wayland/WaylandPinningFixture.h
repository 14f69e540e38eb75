#pragma once

// A private KWin (one output, or `outputs_` side by side) with the Wayland test client's window
// at (200, 150), 400 x 300, and what a test needs to start the program, pin the window and read
// the panel back from the screen.
//
//   class MyTest : public WaylandPinningFixture {};
//   TEST_F(MyTest, ...) {
//       pin();                                                     // the self-test pins it
//       EXPECT_TRUE(waitForWindow({200, 150, 400, 300}, true));   // framed, picture inside
//   }

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "desktop/VeltrinProcess.h"
#include "desktop/wayland/HeadlessKWin.h"
#include "desktop/wayland/TrayHost.h"
#include "desktop/wayland/WaylandTestClient.h"
#include "platform/desktop/wayland/WaylandWindow.h"
#include "testclient/Image.h"

class WaylandPinningFixture : public testing::Test {
protected:
    static constexpr uint32_t clientColor = 0x3366CC;
    static constexpr uint32_t frameColor = 0x66746A;  // the default frame colour
    static constexpr int screenWidth = 1280;
    static constexpr int screenHeight = 800;

    void SetUp() override;
    void TearDown() override;

    // Starts the program and waits until its shortcut is registered.
    void launch(const std::map<std::string, std::string>& environment = {});
    // Starts it with these lines in the [General] part of its settings.
    void launchWithSettings(const std::string& general);
    // Starts a tray host, then the program with English or Polish as its language, and waits
    // for its tray item.
    void launchWithTray(const std::string& language);
    std::string storedSettings() const;
    // Starts the program with its self-test, which pins the active window, and waits for the
    // client's picture.
    void pin();

    // Where the colour shows on screen; nothing when it does not.
    std::optional<HeadlessKWin::Rect> clientOnScreen(uint32_t color = clientColor);
    // A frame of that colour around `r` on the last shot.
    bool framed(const HeadlessKWin::Rect& r, uint32_t frame = frameColor) const;
    // Every point of a grid over `r` (its corners left out) shows the colour on the last shot.
    bool filled(const HeadlessKWin::Rect& r, uint32_t color) const;
    // Waits until the window shows at `window` in its colour: framed with its picture filling
    // the inside when pinned, else plainly.
    bool waitForWindow(const HeadlessKWin::Rect& window, bool pinned, uint32_t color = clientColor,
                       uint32_t frame = frameColor);
    // Once the command was taken, the point shows the colour within a few seconds.
    bool showsColor(bool commanded, std::pair<int, int> point, uint32_t color);

    // The windows KWin lists for a process, top first.
    std::vector<desktop::WaylandWindow> windowsOf(pid_t pid);
    // The first window of the process whose title contains `title`, once KWin lists it with
    // its place and size.
    std::optional<desktop::WaylandWindow> waitForWindowOf(pid_t pid, const std::string& title,
                                                          std::chrono::milliseconds timeout);

    // Set before SetUp:
    std::string keyboardLayout_;  // a layout other than KWin's default
    bool trusted_ = true;         // false: KWin trusts the program with nothing
    int outputs_ = 1;             // more outputs of the screen's size
    std::unique_ptr<TrayHost> tray_;
    // How much of the desktop is read back from the left: all outputs from SetUp on; a test
    // that turns one off or scales it narrows it to what is shown.
    int desktopWidth_ = 0;
    std::unique_ptr<HeadlessKWin> kwin_;
    std::unique_ptr<WaylandTestClient> client_;
    std::unique_ptr<VeltrinProcess> veltrin_;
    Image shot_;
    HeadlessKWin::Rect last_;
    std::string config_;  // the settings folder a launch wrote, removed at the end
};
