#include <gtest/gtest.h>

#include <algorithm>

#include "app/Entry.h"
#include "support/SimFixture.h"

namespace {

class LaunchTest : public SimFixture {
protected:
    void launch() {
        runApplication();
        desktop.runUntilIdle();
    }
    long selfTestLines() {
        const auto messages = logMessages();
        return std::count(messages.begin(), messages.end(), "SELFTEST trigger");
    }
};

TEST_F(LaunchTest, StartLineComesFirstAndThePermissionsAreAskedFor) {
    launch();
    const auto messages = logMessages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "start: AXtrusted=false pid=4242");
    EXPECT_EQ(desktop.currentProcess().activationPolicy, 1);
    EXPECT_EQ(desktop.accessibilityPrompts, 1);
    EXPECT_EQ(desktop.shareableContentRequests, 1);
}

// Trusted, with a stored shortcut that has no usable modifier and without a bundle identifier.
TEST_F(LaunchTest, ATrustedStartRepairsTheShortcutAndRunsWithoutPrompting) {
    desktop.accessibilityTrusted = true;
    desktop.defaults["hotkeyKeyCode"] = int64_t{12};
    desktop.defaults["hotkeyModifiers"] = int64_t{0x800000};
    desktop.programBundleId.reset();
    launch();
    EXPECT_EQ(logMessages().front(), "start: AXtrusted=true pid=4242");
    EXPECT_EQ(desktop.accessibilityPrompts, 0);
    EXPECT_EQ(desktop.defaults.count("hotkeyKeyCode"), 0u);
    EXPECT_EQ(desktop.defaults.count("hotkeyModifiers"), 0u);
    EXPECT_FALSE(desktop.findProcess(ownPid)->terminated);
}

TEST_F(LaunchTest, SelfTestFiresTwoSecondsAfterLaunchWhenArmedWithOne) {
    desktop.currentProcess().environment["QUELM_PIN_TEST"] = "1";
    launch();
    desktop.advance(1.999);
    EXPECT_EQ(selfTestLines(), 0);
    desktop.advance(0.001);
    EXPECT_EQ(selfTestLines(), 1);
    desktop.advance(10);
    EXPECT_EQ(selfTestLines(), 1);
}

TEST_F(LaunchTest, SelfTestIsArmedByExactlyOneAndNothingElse) {
    for (const char* value : {"true", "01", " 1", "", "1 "}) {
        desktop.currentProcess().environment["QUELM_PIN_TEST"] = value;
        launch();
    }
    desktop.advance(10);
    EXPECT_EQ(selfTestLines(), 0);
}

TEST_F(LaunchTest, ASecondCopyWritesItsStartLineAndEndsBeforePrompting) {
    launch();
    const int prompts = desktop.accessibilityPrompts;
    const int requests = desktop.shareableContentRequests;
    desktop.startProgramCopy(4243);
    desktop.currentProcess().environment["QUELM_PIN_TEST"] = "1";
    launch();
    EXPECT_EQ(logMessages().back(), "start: AXtrusted=false pid=4243");
    EXPECT_TRUE(desktop.findProcess(4243)->terminated);
    EXPECT_FALSE(desktop.findProcess(ownPid)->terminated);
    EXPECT_EQ(desktop.accessibilityPrompts, prompts);
    EXPECT_EQ(desktop.shareableContentRequests, requests);
    const auto copies = desktop.runningApplications(sim::SimDesktop::programBundleIdentifier);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].processIdentifier, ownPid);
    desktop.advance(3);  // the self-test it armed went with it
    EXPECT_EQ(selfTestLines(), 0);
}

}  // namespace
