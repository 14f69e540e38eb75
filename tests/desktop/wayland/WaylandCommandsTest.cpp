#include <gtest/gtest.h>

#include "desktop/XDriver.h"
#include "desktop/wayland/WaylandPinningFixture.h"

namespace {

using namespace std::chrono_literals;

constexpr HeadlessKWin::Rect window{200, 150, 400, 300};

// One copy per Wayland session, the commands from the shell and the shortcut, with the
// test client's window active on a private KWin.
class WaylandCommandsTest : public WaylandPinningFixture {
protected:
    bool succeeds(const std::string& option) {
        const auto outcome = VeltrinProcess::command(option, kwin_->environment());
        EXPECT_EQ(outcome.status, 0) << option << ": " << outcome.standardError;
        return outcome.status == 0;
    }

    // Starts the program with a combination in its settings (an unshifted modifier-flag set)
    // and waits until KDE's service holds it.
    void launchWithShortcut(int keyCode, uint64_t modifiers, const std::string& registered) {
        launchWithSettings("hotkeyKeyCode=" + std::to_string(keyCode) +
                           "\nhotkeyModifiers=" + std::to_string(modifiers));
        ASSERT_TRUE(veltrin_->waitForLogLine("hotkey: Register " + registered + " err=0", 1s))
            << veltrin_->log();
    }

    // A frame of the default colour at the left edge of a window.
    bool frameAtLeftOf(const HeadlessKWin::Rect& r) {
        const auto shot = kwin_->capture({r.x - 3, r.y + r.height / 2, 1, 1});
        return shot && XDriver::similar(shot->at(0, 0), frameColor, 10);
    }
};

TEST_F(WaylandCommandsTest, ASecondCopyEndsAtOnceAndTheFirstKeepsRunning) {
    launch();
    VeltrinProcess second(std::nullopt, kwin_->environment());
    EXPECT_EQ(second.waitForExit(10s), 0) << second.standardError();
    EXPECT_TRUE(
        second.waitForLogLine("start: AXtrusted=true pid=" + std::to_string(second.pid()), 1s))
        << second.log();
    EXPECT_TRUE(veltrin_->running());
}

TEST_F(WaylandCommandsTest, ToggleFromTheShellPinsThenUnpinsTheActiveWindow) {
    launch();
    ASSERT_TRUE(waitForWindow(window, false));
    ASSERT_TRUE(succeeds("--toggle"));
    EXPECT_TRUE(veltrin_->waitForLogLine("pin: pid=" + std::to_string(client_->pid()), 10s))
        << veltrin_->log();
    EXPECT_TRUE(veltrin_->waitForLogLine("mirror: capture OK", 10s)) << veltrin_->log();
    EXPECT_TRUE(waitForWindow(window, true));
    ASSERT_TRUE(succeeds("--toggle"));
    EXPECT_TRUE(waitForWindow(window, false)) << "still framed after the second toggle";
    EXPECT_TRUE(veltrin_->running());
}

TEST_F(WaylandCommandsTest, UnpinAllFromTheShellUnpinsEveryWindow) {
    launch();
    ASSERT_TRUE(succeeds("--toggle"));
    ASSERT_TRUE(waitForWindow(window, true));
    WaylandTestClient other(kwin_->environment(),
                            {"--width", "300", "--height", "200", "--color", "E07A2E"});
    const HeadlessKWin::Rect otherWindow{700, 450, 300, 200};
    ASSERT_TRUE(kwin_->moveWindow(other.pid(), otherWindow.x, otherWindow.y));
    ASSERT_TRUE(client_->waitForLine("deactivated", 5s)) << "the other window took no focus";
    ASSERT_TRUE(succeeds("--toggle"));
    EXPECT_TRUE(veltrin_->waitForLogLine("pin: pid=" + std::to_string(other.pid()), 10s));
    ASSERT_TRUE(XDriver::waitUntil([&] { return frameAtLeftOf(otherWindow); }, 5s));

    ASSERT_TRUE(succeeds("--unpin-all"));
    EXPECT_TRUE(waitForWindow(window, false));
    EXPECT_FALSE(frameAtLeftOf(otherWindow));
    EXPECT_TRUE(veltrin_->running());
}

// The command returns once the copy has ended, and its panels went with it.
TEST_F(WaylandCommandsTest, QuitFromTheShellEndsTheRunningCopy) {
    launch();
    ASSERT_TRUE(succeeds("--toggle"));
    ASSERT_TRUE(waitForWindow(window, true));
    ASSERT_TRUE(succeeds("--quit"));
    EXPECT_EQ(veltrin_->waitForExit(2s), 0) << veltrin_->standardError();
    EXPECT_TRUE(veltrin_->waitForLogLine("command: --quit", 1s));
    EXPECT_TRUE(waitForWindow(window, false));
}

TEST_F(WaylandCommandsTest, EachCommandWithNoCopyRunningSaysSoAndFails) {
    for (const char* option : {"--toggle", "--unpin-all", "--quit"}) {
        const auto outcome = VeltrinProcess::command(option, kwin_->environment());
        EXPECT_EQ(outcome.status, 1) << option;
        EXPECT_NE(outcome.standardError.find("Veltrin is not running"), std::string::npos)
            << option << ": " << outcome.standardError;
    }
}

// KWin's fake input types the combination as a keyboard would: KDE's shortcut service, which
// KWin serves, sees it and the program pins the active window; pressed again, it unpins.
TEST_F(WaylandCommandsTest, AltPTypedOnKWinPinsThenUnpinsTheActiveWindow) {
    constexpr const char* altP = "keys 56 25";  // evdev codes of the left Alt and P
    launch();
    ASSERT_TRUE(veltrin_->waitForLogLine("hotkey: Register kc=35 mods=2048 err=0", 1s))
        << veltrin_->log();
    ASSERT_TRUE(waitForWindow(window, false));
    ASSERT_TRUE(client_->command(altP)) << "KWin offers no fake keyboard";
    EXPECT_TRUE(veltrin_->waitForLogLine("hotkey PRESSED fired", 5s)) << veltrin_->log();
    EXPECT_TRUE(waitForWindow(window, true));
    ASSERT_TRUE(client_->command(altP));
    EXPECT_TRUE(waitForWindow(window, false)) << "still framed after the second press";
}

// A combination from the settings is the one KDE's service holds; Alt + P then does nothing.
TEST_F(WaylandCommandsTest, TheSettingsCombinationTypedOnKWinPins) {
    launchWithShortcut(40, 0x60000, "kc=40 mods=4608");  // K with control and shift
    ASSERT_TRUE(client_->command("keys 56 25"));
    EXPECT_FALSE(veltrin_->waitForLogLine("hotkey PRESSED fired", 1s)) << "Alt + P still pins";
    ASSERT_TRUE(client_->command("keys 29 42 37"));  // left Control, left Shift, K
    EXPECT_TRUE(veltrin_->waitForLogLine("hotkey PRESSED fired", 5s)) << veltrin_->log();
    EXPECT_TRUE(waitForWindow(window, true));
}

// On a German keyboard the keys of the US Y and Z places swap legends. KDE's service fires a
// combination on the key that bears its symbol, which is the key the recorder reads there
// (the German Z key, in the US Y place, records as code 6, Z), so what was pressed fires.
class WaylandGermanLayoutTest : public WaylandCommandsTest {
protected:
    WaylandGermanLayoutTest() { keyboardLayout_ = "de"; }
};

TEST_F(WaylandGermanLayoutTest, ACombinationFiresOnTheKeyBearingItsSymbol) {
    launchWithShortcut(6, 0x80000, "kc=6 mods=2048");  // Alt + Z
    ASSERT_TRUE(client_->command("keys 56 44"));       // left Alt, the US Z place: German Y
    EXPECT_FALSE(veltrin_->waitForLogLine("hotkey PRESSED fired", 1s)) << "fired by place";
    ASSERT_TRUE(client_->command("keys 56 21"));  // left Alt, the US Y place: German Z
    EXPECT_TRUE(veltrin_->waitForLogLine("hotkey PRESSED fired", 5s)) << veltrin_->log();
    EXPECT_TRUE(waitForWindow(window, true));
}

}  // namespace
