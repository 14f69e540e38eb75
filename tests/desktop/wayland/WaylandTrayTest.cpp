#include <gtest/gtest.h>

#include <memory>

#include "desktop/XDriver.h"
#include "desktop/wayland/WaylandPinningFixture.h"
#include "platform/Platform.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimPlatform.h"
#include "settings/L10n.h"
#include "settings/Settings.h"

namespace {

using namespace std::chrono_literals;
using Items = std::vector<std::string>;

constexpr HeadlessKWin::Rect window{200, 150, 400, 300};
constexpr uint32_t teal = 0x3DB6A6;  // the third swatch

// Points of the settings window (440 x 264) from its top left.
struct Spot {
    int x;
    int y;
};
constexpr Spot tealSwatch{105, 99};
constexpr Spot englishButton{394, 34};
constexpr Spot quitButton{308, 228};  // left of its title

// The program's own texts in a language: read through a simulated desktop's settings.
template <typename Read>
auto inLanguage(const std::string& language, Read read) {
    sim::SimDesktop desktop;
    platform::install(std::make_unique<sim::SimPlatform>(desktop));
    Settings::setLanguage(language);
    auto texts = read();
    platform::uninstall();
    return texts;
}

// The menu with nothing pinned, as the tray host writes it.
Items expectedMenu(const std::string& language, bool granted) {
    return inLanguage(language, [granted] {
        const std::string state = granted ? " (disabled)" : "";
        return Items{L10n::pinActiveWindow() + " [Ctrl+P]",
                     "---",
                     L10n::accessibilityTitle(granted) + state,
                     L10n::screenRecordingTitle(granted) + state,
                     "---",
                     L10n::settings() + " [Ctrl+,]",
                     "---",
                     L10n::quit() + " [Ctrl+Q]"};
    });
}

// The tray item and its menu on KWin, where the tray speaks StatusNotifierItem on the bus.
class WaylandTrayTest : public WaylandPinningFixture {
protected:
    // A click of KWin's fake pointer at a point of a window, as a user's.
    bool clickIn(const desktop::WaylandWindow& w, Spot spot) {
        return client_->command("click " + std::to_string(int(w.geometry.x) + spot.x) + " " +
                                std::to_string(int(w.geometry.y) + spot.y));
    }
    // The colour at a point of a window on screen.
    std::optional<uint32_t> shownAt(const desktop::WaylandWindow& w, Spot spot) {
        const auto shot =
            kwin_->capture({int(w.geometry.x) + spot.x, int(w.geometry.y) + spot.y, 1, 1});
        if (!shot) return std::nullopt;
        return shot->at(0, 0);
    }
    bool closes(const std::string& title) {
        return XDriver::waitUntil([&] { return !waitForWindowOf(veltrin_->pid(), title, 0ms); }, 5s,
                                  100ms);
    }
};

// Registered at launch; its menu reads in the settings' language, and its quit item ends
// the program.
TEST_F(WaylandTrayTest, TheMenuReadsInEnglishOrPolishAndQuitEndsTheProgram) {
    launchWithTray("en");
    EXPECT_EQ(tray_->menu(), expectedMenu("en", true)) << veltrin_->log();
    EXPECT_TRUE(veltrin_->waitForLogLine("tray: menu opened: ", 1s)) << veltrin_->log();
    EXPECT_EQ(veltrin_->log().find("no system tray"), std::string::npos) << veltrin_->log();
    ASSERT_TRUE(tray_->choose(inLanguage("en", L10n::quit)));
    EXPECT_EQ(veltrin_->waitForExit(10s), 0) << veltrin_->standardError();

    launchWithTray("pl");
    EXPECT_EQ(tray_->menu(), expectedMenu("pl", true)) << veltrin_->log();
}

// A panel that comes up after the program (as after an autostart early in a session) still
// gets the item.
TEST_F(WaylandTrayTest, WithoutATrayAtLaunchTheItemRegistersOnceOneStarts) {
    launch();
    EXPECT_TRUE(veltrin_->waitForLogLine("tray: no system tray yet", 5s)) << veltrin_->log();
    tray_ = std::make_unique<TrayHost>(kwin_->environment().at("DBUS_SESSION_BUS_ADDRESS"));
    ASSERT_TRUE(tray_->waitForItem(10s)) << veltrin_->log() << veltrin_->standardError();
    EXPECT_EQ(tray_->menu(), expectedMenu("pl", true)) << veltrin_->log();
}

// The session's watcher is up before its panel: the item registers once the panel says so.
TEST_F(WaylandTrayTest, BehindAWatcherWithoutPanelTheItemRegistersOnceThePanelComes) {
    tray_ = std::make_unique<TrayHost>(kwin_->environment().at("DBUS_SESSION_BUS_ADDRESS"), false);
    launch();
    EXPECT_TRUE(veltrin_->waitForLogLine("tray: no system tray yet", 5s)) << veltrin_->log();
    EXPECT_FALSE(tray_->waitForItem(1s)) << "registered with no panel to show it";
    tray_->registerPanel();
    ASSERT_TRUE(tray_->waitForItem(10s)) << veltrin_->log() << veltrin_->standardError();
    EXPECT_EQ(tray_->menu(), expectedMenu("pl", true)) << veltrin_->log();
}

// Opened from the tray on Qt's Wayland platform and painted: a swatch clicked there recolours
// the pinned window's frame and is stored; the English button stores the language and the
// next menu reads in it.
TEST_F(WaylandTrayTest, TheSettingsItemOpensTheWindowWhereClicksRecolourAndSwitchLanguage) {
    launchWithTray("pl");
    ASSERT_TRUE(tray_->choose(inLanguage("pl", L10n::pinActiveWindow)));
    ASSERT_TRUE(waitForWindow(window, true)) << veltrin_->log();
    ASSERT_TRUE(tray_->choose(inLanguage("pl", L10n::settings)));
    const auto settings = waitForWindowOf(veltrin_->pid(), "", 10s);
    ASSERT_TRUE(settings) << veltrin_->log();
    EXPECT_EQ(settings->geometry.width, 440);
    EXPECT_EQ(settings->geometry.height, 264);
    EXPECT_TRUE(XDriver::waitUntil(  // the red of the quit button shows
        [&] {
            const auto pixel = shownAt(*settings, quitButton);
            return pixel && (*pixel >> 16) > 150 && ((*pixel >> 8) & 0xFF) < 110;
        },
        5s))
        << "the settings window is not drawn";

    ASSERT_TRUE(clickIn(*settings, tealSwatch));
    EXPECT_TRUE(waitForWindow(window, true, clientColor, teal)) << "the frame kept its colour";
    EXPECT_NE(storedSettings().find("3DB6A6"), std::string::npos) << storedSettings();

    ASSERT_TRUE(clickIn(*settings, englishButton));
    EXPECT_TRUE(XDriver::waitUntil(
        [&] { return storedSettings().find("appLanguage=en") != std::string::npos; }, 5s))
        << storedSettings();
    const Items items = tray_->menu();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), inLanguage("en", [] { return L10n::unpinTitle(1); }));
}

class WaylandUntrustedTrayTest : public WaylandTrayTest {
protected:
    WaylandUntrustedTrayTest() { trusted_ = false; }
};

// Each permission item opens a message titled as the item, whose text names the desktop
// entry to save; it closes with its button, or as any window closes.
TEST_F(WaylandUntrustedTrayTest, APermissionItemOpensAMessageThatClosesWithItsButtonOrTheWindow) {
    launchWithTray("en");
    EXPECT_EQ(tray_->menu(), expectedMenu("en", false));
    const std::string accessibility =
        inLanguage("en", [] { return L10n::accessibilityTitle(false); });
    ASSERT_TRUE(tray_->choose(accessibility));
    const auto message = waitForWindowOf(veltrin_->pid(), accessibility, 10s);
    ASSERT_TRUE(message) << veltrin_->log();
    const auto line = veltrin_->waitForLogLine("message: " + accessibility, 1s);
    ASSERT_TRUE(line) << veltrin_->log();
    EXPECT_NE(line->find(veltrin_->home() + "/.local/share/applications/veltrin.desktop:"),
              std::string::npos)
        << *line;
    EXPECT_NE(line->find(" | Exec=" VELTRIN_BINARY " | "), std::string::npos) << *line;
    // Its one button sits in the bottom right corner; clicked once the box is drawn.
    const Spot close{int(message->geometry.width) - 52, int(message->geometry.height) - 24};
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            const auto pixel = shownAt(*message, {close.x, close.y - 20});
            return pixel && XDriver::similar(*pixel, 0xEFEFEF, 24);
        },
        5s))
        << "the message is not drawn";
    ASSERT_TRUE(clickIn(*message, close));
    EXPECT_TRUE(closes(accessibility)) << "the button left the message open";

    const std::string recording =
        inLanguage("en", [] { return L10n::screenRecordingTitle(false); });
    ASSERT_TRUE(tray_->choose(recording));
    ASSERT_TRUE(waitForWindowOf(veltrin_->pid(), recording, 10s)) << veltrin_->log();
    ASSERT_TRUE(kwin_->closeWindows(veltrin_->pid()));
    EXPECT_TRUE(closes(recording));
    EXPECT_TRUE(veltrin_->running());
}

}  // namespace
