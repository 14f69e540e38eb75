#pragma once

// A headless desktop with the program running on it, and what a test needs to pin windows
// and find their panels.
//
//   class MyTest : public PinningFixture {};
//   TEST_F(MyTest, ...) {
//       launch();
//       TestClient client(desktop.display(), {.x = 100, .y = 100});
//       const auto panel = pinActive(client);       // Alt + P, then the panel over it
//       EXPECT_EQ(panel.rect, frameOf(client).grownBy(6));
//   }

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "desktop/HeadlessDesktop.h"
#include "desktop/TestClient.h"
#include "desktop/VeltrinProcess.h"

class PinningFixture : public testing::Test {
protected:
    static constexpr uint32_t frameColor = 0x66746A;  // the default border colour
    static constexpr int margin = 6;

    explicit PinningFixture(int width = 1600, int height = 1200) : desktop(width, height) {}
    ~PinningFixture() override;

    // Starts the program and waits until its shortcut is registered.
    void launch(const std::map<std::string, std::string>& environment = {});
    // Makes the client active, presses Alt + P and waits for its panel.
    XDriver::TopLevel pinActive(const TestClient& client);
    void activate(const TestClient& client);
    XDriver::Rect frameOf(const TestClient& client);
    // The program's panels on screen (its mapped override-redirect windows), bottom first.
    std::vector<XDriver::TopLevel> panels();
    std::optional<XDriver::TopLevel> panelAt(const XDriver::Rect& rect);
    bool waitForPanelAt(const XDriver::Rect& rect,
                        std::chrono::milliseconds timeout = std::chrono::seconds(5));
    bool waitForNoPanel(std::chrono::milliseconds timeout);
    // The pixel at (x, y) of the root becomes `color` (within a small tolerance).
    bool waitForPixel(int x, int y, uint32_t color,
                      std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // What went on, for a failed assertion.
    std::string diagnostics(const std::string& screenshotName);

    HeadlessDesktop desktop;
    XDriver& x = desktop.x();
    std::unique_ptr<VeltrinProcess> veltrin;
};
