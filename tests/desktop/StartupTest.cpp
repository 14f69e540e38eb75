#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "desktop/HeadlessDesktop.h"
#include "desktop/VeltrinProcess.h"

namespace {

using namespace std::chrono_literals;

// A display number nobody serves: no socket for it in the usual folder.
std::string unservedDisplay() {
    for (int number = 9000;; ++number)
        if (access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) != 0)
            return ":" + std::to_string(number);
}

TEST(StartupTest, WithoutDisplaySaysSoAndExitsWithTwo) {
    VeltrinProcess veltrin(std::nullopt);
    EXPECT_EQ(veltrin.waitForExit(20s), 2);
    EXPECT_NE(veltrin.standardError().find("no X display"), std::string::npos)
        << veltrin.standardError();
}

TEST(StartupTest, DisplayThatDoesNotExistSaysSoAndExitsWithTwo) {
    const std::string display = unservedDisplay();
    VeltrinProcess veltrin(display);
    EXPECT_EQ(veltrin.waitForExit(20s), 2);
    EXPECT_NE(veltrin.standardError().find("cannot open X display \"" + display + "\""),
              std::string::npos)
        << veltrin.standardError();
}

void expectStartRecord(const VeltrinProcess& veltrin) {
    const std::string expected = "start: AXtrusted=true pid=" + std::to_string(veltrin.pid());
    const auto line = veltrin.waitForLogLine(expected, 30s);
    ASSERT_TRUE(line) << "log:\n" << veltrin.log() << "stderr:\n" << veltrin.standardError();
    EXPECT_TRUE(line->ends_with(expected)) << *line;  // the pid is its own, not a longer one
}

TEST(StartupTest, OnTheHeadlessDesktopStartsTrusted) {
    HeadlessDesktop desktop;
    VeltrinProcess veltrin(desktop.display());
    expectStartRecord(veltrin);
}

TEST(StartupTest, OnTheHeadlessDesktopKeepsRunningUntilStopped) {
    HeadlessDesktop desktop;
    VeltrinProcess veltrin(desktop.display());
    expectStartRecord(veltrin);
    EXPECT_FALSE(XDriver::waitUntil([&] { return !veltrin.running(); }, 2s))
        << "it ended by itself: " << veltrin.standardError();
    veltrin.stop();
    EXPECT_FALSE(veltrin.running());
}

}  // namespace
