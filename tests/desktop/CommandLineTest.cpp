#include <gtest/gtest.h>

#include "desktop/PinningFixture.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* noBus = "unix:path=/nonexistent/veltrin-bus";

class CommandLineTest : public PinningFixture {
protected:
    using Outcome = VeltrinProcess::Outcome;
    static bool succeeds(const std::string& option,
                         const std::map<std::string, std::string>& environment = {}) {
        const Outcome outcome = VeltrinProcess::command(option, environment);
        EXPECT_EQ(outcome.status, 0) << option << ": " << outcome.standardError;
        return outcome.status == 0;
    }
};

TEST_F(CommandLineTest, ToggleFromTheShellPinsThenUnpinsTheActiveWindow) {
    launch();
    TestClient client(desktop.display(), {.width = 400, .height = 300, .x = 200, .y = 150});
    activate(client);
    ASSERT_TRUE(succeeds("--toggle"));
    EXPECT_TRUE(veltrin->waitForLogLine("mirror: capture OK", 10s)) << veltrin->log();
    EXPECT_TRUE(waitForPanelAt(frameOf(client).grownBy(margin))) << diagnostics("shell-toggle");
    EXPECT_TRUE(veltrin->waitForLogLine("command: --toggle", 1s));
    ASSERT_TRUE(succeeds("--toggle"));
    EXPECT_TRUE(waitForNoPanel(5s)) << diagnostics("shell-untoggle");
    EXPECT_TRUE(veltrin->running());
}

TEST_F(CommandLineTest, UnpinAllFromTheShellUnpinsEveryWindow) {
    launch();
    TestClient first(desktop.display(), {.x = 100, .y = 100});
    pinActive(first);
    TestClient second(desktop.display(), {.x = 700, .y = 400, .color = 0xE0A020});
    pinActive(second);
    ASSERT_EQ(panels().size(), 2u) << diagnostics("two-pinned");
    ASSERT_TRUE(succeeds("--unpin-all"));
    EXPECT_TRUE(waitForNoPanel(5s)) << diagnostics("shell-unpin-all");
    EXPECT_TRUE(veltrin->running());
}

// The command returns once the copy has ended, so that a script can start a new one.
TEST_F(CommandLineTest, QuitFromTheShellEndsTheRunningCopy) {
    launch();
    TestClient client(desktop.display(), {.x = 100, .y = 100});
    pinActive(client);
    ASSERT_TRUE(succeeds("--quit"));
    EXPECT_EQ(veltrin->waitForExit(2s), 0) << veltrin->standardError();
    EXPECT_TRUE(veltrin->waitForLogLine("command: --quit", 1s));
}

TEST_F(CommandLineTest, EachCommandWithNoCopyRunningSaysSoAndFails) {
    for (const char* option : {"--toggle", "--unpin-all", "--quit"}) {
        const Outcome outcome = VeltrinProcess::command(option);
        EXPECT_EQ(outcome.status, 1) << option;
        EXPECT_NE(outcome.standardError.find("Veltrin is not running"), std::string::npos)
            << option << ": " << outcome.standardError;
    }
}

// One copy per session: a copy on another display that shares the session's bus ends too.
TEST_F(CommandLineTest, ASecondCopyInTheSameSessionEndsEvenOnAnotherDisplay) {
    launch();
    const std::string sessionBus = desktop.busAddress();
    HeadlessDesktop elsewhere(800, 600);
    VeltrinProcess second(elsewhere.display(), {{"DBUS_SESSION_BUS_ADDRESS", sessionBus}});
    EXPECT_EQ(second.waitForExit(30s), 0) << second.standardError();
    EXPECT_TRUE(second.waitForLogLine("start: AXtrusted=", 1s)) << second.log();
    EXPECT_TRUE(veltrin->running());
    // The first copy still takes the session's commands.
    EXPECT_TRUE(succeeds("--toggle", {{"DBUS_SESSION_BUS_ADDRESS", sessionBus}}));
    EXPECT_TRUE(veltrin->waitForLogLine("command: --toggle", 5s)) << veltrin->log();
}

// Without a bus the program still runs, one copy per display; commands say why they fail.
TEST_F(CommandLineTest, WithoutASessionBusTheProgramRunsAndCommandsFail) {
    launch({{"DBUS_SESSION_BUS_ADDRESS", noBus}});
    EXPECT_TRUE(veltrin->waitForLogLine("bus: no session bus", 1s)) << veltrin->log();
    TestClient client(desktop.display(), {.x = 100, .y = 100});
    pinActive(client);
    VeltrinProcess second(desktop.display(), {{"DBUS_SESSION_BUS_ADDRESS", noBus}});
    EXPECT_EQ(second.waitForExit(30s), 0) << second.standardError();
    EXPECT_TRUE(veltrin->running());

    const Outcome outcome =
        VeltrinProcess::command("--toggle", {{"DBUS_SESSION_BUS_ADDRESS", noBus}});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.standardError.find("no session bus"), std::string::npos)
        << outcome.standardError;
}

}  // namespace
