#include "platform/sim/SimDesktop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/sim/SimPlatform.h"
#include "support/SimFixture.h"

namespace {

class SimDesktopTest : public SimFixture {};

TEST_F(SimDesktopTest, DelayedWorkRunsInDueOrderWhenTheClockReachesIt) {
    std::vector<int> order;
    platform::dispatch().mainAsyncAfter(2, [&] { order.push_back(2); });
    platform::dispatch().mainAsyncAfter(1, [&] {
        order.push_back(1);
        platform::dispatch().mainAsyncAfter(0.5, [&] { order.push_back(15); });
    });
    platform::dispatch().mainAsync([&] { order.push_back(0); });
    desktop.runUntilIdle();
    EXPECT_EQ(order, std::vector<int>{0});
    desktop.advance(2);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 15, 2}));
    EXPECT_DOUBLE_EQ(desktop.now(), 2.0);
}

TEST_F(SimDesktopTest, BackgroundWorkRunsOffTheMainThreadAndItsRepliesAreDrained) {
    std::atomic<bool> ranOffMain{false};
    bool replied = false;
    platform::dispatch().globalAsync([&] {
        ranOffMain = !platform::dispatch().isMainThread();
        platform::dispatch().mainAsync([&] { replied = platform::dispatch().isMainThread(); });
    });
    desktop.runUntilIdle();
    EXPECT_TRUE(ranOffMain);
    EXPECT_TRUE(replied);
}

TEST_F(SimDesktopTest, ShareableContentIsAnsweredOnAnotherThreadWithOffScreenWindows) {
    desktop.screenCaptureAllowed = true;
    desktop.addApplication({812, "com.example.editor", "Editor"});
    desktop.addWindow({471, 812, {120, 80, 800, 600}, true});
    desktop.addWindow({472, 812, {0, 0, 10, 10}, false});
    std::thread::id answeredOn;
    size_t all = 0;
    size_t onScreen = 0;
    platform::shareableContent().request(false, false, [&](auto content, auto) {
        answeredOn = std::this_thread::get_id();
        all = content->windows.size();
    });
    platform::shareableContent().request(
        false, true, [&](auto content, auto) { onScreen = content->windows.size(); });
    desktop.runUntilIdle();
    EXPECT_NE(answeredOn, std::this_thread::get_id());
    EXPECT_EQ(all, 2u);
    EXPECT_EQ(onScreen, 1u);
}

TEST_F(SimDesktopTest, ShareableContentFailsWithoutScreenRecording) {
    bool failed = false;
    platform::shareableContent().request(
        false, false, [&](auto content, auto error) { failed = !content && error; });
    desktop.runUntilIdle();
    EXPECT_TRUE(failed);
}

TEST_F(SimDesktopTest, QuittingAnApplicationTellsEveryCopyOnItsMainQueue) {
    desktop.addApplication({812, "com.example.editor", "Editor"});
    desktop.addWindow({471, 812, {0, 0, 100, 100}, true});
    desktop.setFrontmost(812);
    std::optional<platform::RunningApplication> told;
    platform::workspace().observeTerminations([&](const platform::TerminationNotification& note) {
        EXPECT_TRUE(platform::dispatch().isMainThread());
        told = note.application;
    });
    desktop.quitApplication(812);
    EXPECT_FALSE(told.has_value());  // not before the main queue runs
    desktop.runUntilIdle();
    ASSERT_TRUE(told.has_value());
    EXPECT_EQ(told->bundleIdentifier, "com.example.editor");
    EXPECT_EQ(desktop.findWindow(471), nullptr);
    EXPECT_FALSE(platform::workspace().frontmostApplication().has_value());
}

TEST_F(SimDesktopTest, StoredTextsAndNumbersReadAcrossTypesAsTheDesktopDoes) {
    auto& defaults = platform::defaults();
    EXPECT_EQ(defaults.integerForKey("absent"), 0);
    EXPECT_FALSE(defaults.stringForKey("absent").has_value());
    defaults.setString("12", "k");
    EXPECT_EQ(defaults.integerForKey("k"), 12);
    defaults.setString("P", "k");
    EXPECT_EQ(defaults.integerForKey("k"), 0);
    defaults.setInteger(35, "k");
    EXPECT_EQ(defaults.stringForKey("k"), "35");
    defaults.removeObject("k");
    EXPECT_EQ(defaults.integerForKey("k"), 0);
}

}  // namespace
