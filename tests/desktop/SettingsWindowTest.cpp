#include <gtest/gtest.h>

#include "desktop/SettingsDesktopFixture.h"

namespace {

using namespace std::chrono_literals;
using SettingsWindowTest = SettingsDesktopFixture;

constexpr uint32_t teal = 0x3DB6A6;

// Focused and centred on the main screen the first time; where the user dragged it the
// next time.
TEST_F(SettingsWindowTest, OpensFocusedCentredAndReopensWhereItWasLeft) {
    TestClient other(desktop.display(), {.x = 100, .y = 100});
    x.click(300, 250);  // the user works in another window first
    ASSERT_TRUE(XDriver::waitUntil([&] { return x.activeWindow() == other.window(); }, 3s));

    openSettings();
    const XDriver::Rect opened = settingsRect();
    const auto workArea = x.cardinals(x.root(), "_NET_WORKAREA");  // without the tray's panel
    ASSERT_GE(workArea.size(), 4u);
    const double midX = workArea[0] + workArea[2] / 2.0, midY = workArea[1] + workArea[3] / 2.0;
    EXPECT_NEAR(opened.x, midX - 220, 1) << opened;
    EXPECT_NEAR(opened.y, midY - 132, 1) << opened;

    x.moveMouse(opened.x + bareGlass.x, opened.y + bareGlass.y);
    x.buttonDown();
    for (int step = 1; step <= 10; ++step)
        x.moveMouse(opened.x + bareGlass.x - 20 * step, opened.y + bareGlass.y - 15 * step);
    x.buttonUp();
    const XDriver::Rect dragged{opened.x - 200, opened.y - 150, 440, 264};
    ASSERT_TRUE(XDriver::waitUntil([&] { return settingsRect() == dragged; }, 3s))
        << settingsRect();

    const xcb_window_t window = settingsWindow();
    click(closeButton);
    ASSERT_TRUE(XDriver::waitUntil([&] { return x.activeWindow() != window; }, 3s));
    openSettings();
    EXPECT_EQ(settingsRect(), dragged);
}

// A desktop that scales text (192 dpi) leaves the window its size in pixels and its place.
TEST_F(SettingsWindowTest, ScaledTextLeavesTheWindowItsPixelSizeAndPlace) {
    x.setRootText("RESOURCE_MANAGER", "Xft.dpi:\t192\n");
    const auto earlier = std::move(veltrin);
    earlier->stop();
    relaunch({});
    openSettings();  // finds it only at 440 x 264
    const XDriver::Rect opened = settingsRect();
    const auto workArea = x.cardinals(x.root(), "_NET_WORKAREA");
    ASSERT_GE(workArea.size(), 4u);
    EXPECT_NEAR(opened.x, workArea[0] + workArea[2] / 2.0 - 220, 1) << opened;
    EXPECT_NEAR(opened.y, workArea[1] + workArea[3] / 2.0 - 132, 1) << opened;
}

// The frames of every pinned window take the colour at once; the clear swatch removes them,
// and that choice outlives the program.
TEST_F(SettingsWindowTest, SwatchesRecolourPinnedFramesAndTheChoiceIsKept) {
    TestClient first(desktop.display(), {.width = 300, .height = 200, .x = 60, .y = 60});
    TestClient second(desktop.display(), {.width = 300, .height = 200, .x = 900, .y = 800});
    pinActive(first);
    pinActive(second);
    ASSERT_EQ(panels().size(), 2u);

    openSettings();
    click(swatch(2));
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            const auto colours = frameColours();
            return colours.size() == 2 && XDriver::similar(colours[0], teal, 4) &&
                   XDriver::similar(colours[1], teal, 4);
        },
        3s));
    EXPECT_NE(storedSettings().find("3DB6A6"), std::string::npos) << storedSettings();

    click(swatch(6));
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            const auto colours = frameColours();
            return colours.size() == 2 && !XDriver::similar(colours[0], teal, 4) &&
                   !XDriver::similar(colours[1], teal, 4);
        },
        3s));
    EXPECT_EQ(storedSettings().find("3DB6A6"), std::string::npos) << storedSettings();

    const std::string config = veltrin->home() + "/config";
    const auto earlier = std::move(veltrin);  // keeps its folder until the test ends
    earlier->stop();
    relaunch({{"XDG_CONFIG_HOME", config}});
    TestClient third(desktop.display(), {.width = 300, .height = 200, .x = 500, .y = 400});
    pinActive(third);
    const auto colours = frameColours();
    ASSERT_EQ(colours.size(), 1u);
    // Neither the default frame nor the last one chosen: no frame at all.
    EXPECT_FALSE(XDriver::similar(colours[0], frameColor, 8)) << std::hex << colours[0];
    EXPECT_FALSE(XDriver::similar(colours[0], teal, 8)) << std::hex << colours[0];
    EXPECT_NE(storedSettings().find("clear"), std::string::npos) << storedSettings();
}

// Real key presses reach the recorder: a new combination is registered and pins; Escape
// and the old combination change nothing.
TEST_F(SettingsWindowTest, RecordsCombinationsTypedOnTheKeyboard) {
    TestClient client(desktop.display(), {.width = 300, .height = 200, .x = 60, .y = 60});
    openSettings();

    ASSERT_TRUE(startRecording()) << diagnostics("not-recording");
    x.key("alt+p");  // the current shortcut is paused while recording
    EXPECT_FALSE(veltrin->waitForLogLine("hotkey PRESSED fired", 1s));
    x.key("escape");
    EXPECT_TRUE(XDriver::waitUntil([&] { return !showsRecording(); }, 3s));
    EXPECT_TRUE(panels().empty());
    const std::string log = veltrin->log();
    size_t registrations = 0;
    for (size_t at = log.find("hotkey: Register"); at != std::string::npos;
         at = log.find("hotkey: Register", at + 1))
        ++registrations;
    EXPECT_EQ(registrations, 1u) << "Escape registered something:\n" << log;

    ASSERT_TRUE(startRecording()) << diagnostics("not-recording");
    x.key("ctrl+alt+k");
    EXPECT_TRUE(veltrin->waitForLogLine("hotkey: Register kc=40 mods=6144 err=0", 3s))
        << veltrin->log();
    activate(client);
    x.key("ctrl+alt+k");
    EXPECT_TRUE(veltrin->waitForLogLine("hotkey PRESSED fired", 3s));
    EXPECT_TRUE(waitForPanelAt(frameOf(client).grownBy(margin))) << diagnostics("new-shortcut");
}

// Every text of the open window and of the next menu follows the language buttons; the
// name stays.
TEST_F(SettingsWindowTest, LanguageButtonsSwitchEveryTextOfTheOpenWindow) {
    openSettings();  // in Polish, the default
    const XDriver::Rect rect = settingsRect();
    const auto area = [&](int left, int top, int width, int height) {
        return XDriver::Rect{rect.x + left, rect.y + top, width, height};
    };
    // The two headings, Close and Quit; then the title.
    const std::vector<XDriver::Rect> texts{area(30, 64, 380, 16), area(30, 128, 380, 16),
                                           area(30, 212, 110, 32), area(300, 212, 110, 32)};
    const XDriver::Rect title = area(30, 22, 302, 24);
    const auto capture = [&] {
        std::vector<std::vector<uint32_t>> images;
        for (const auto& text : texts)
            images.push_back(x.capture(text).value_or(Image{}).pixels);
        return images;
    };
    ASSERT_TRUE(XDriver::waitUntil(  // drawn: the white letters of the name show
        [&] {
            for (const uint32_t pixel : x.capture(title).value_or(Image{}).pixels)
                if (XDriver::similar(pixel, 0xFFFFFF, 24)) return true;
            return false;
        },
        3s));
    const auto polish = capture();
    const auto polishTitle = x.capture(title).value_or(Image{}).pixels;

    click(englishButton);
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            const auto now = capture();
            for (size_t i = 0; i < texts.size(); ++i)
                if (now[i] == polish[i]) return false;
            return true;
        },
        3s))
        << diagnostics("settings-english");
    EXPECT_EQ(x.capture(title).value_or(Image{}).pixels, polishTitle);
    const auto items = openMenu();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "Pin active window [Ctrl+P]");
    x.key("escape");
    ASSERT_TRUE(XDriver::waitUntil([&] { return !menuWindow(); }, 3s));

    click(polishButton);
    EXPECT_TRUE(XDriver::waitUntil([&] { return capture() == polish; }, 3s));
}

}  // namespace
