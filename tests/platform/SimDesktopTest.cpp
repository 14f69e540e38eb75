#include <atomic>
#include <thread>

#include "support/SimFixture.h"

TEST_F(SimFixture, DelayedWorkRunsInDueOrderAndBackgroundRepliesAreDrained) {
    std::vector<int> order;
    auto& dispatch = platform::dispatch();
    dispatch.mainAsyncAfter(2, [&] { order.push_back(2); });
    dispatch.mainAsyncAfter(1, [&] {
        order.push_back(1);
        dispatch.mainAsyncAfter(0.5, [&] { order.push_back(15); });
    });
    dispatch.mainAsync([&] { order.push_back(0); });
    std::atomic<bool> ranOffMain{false};
    bool replied = false;
    dispatch.globalAsync([&] {
        ranOffMain = !dispatch.isMainThread();
        dispatch.mainAsync([&] { replied = dispatch.isMainThread(); });
    });
    desktop.runUntilIdle();
    EXPECT_EQ(order, std::vector<int>{0});
    EXPECT_TRUE(ranOffMain);
    EXPECT_TRUE(replied);
    desktop.advance(2);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 15, 2}));
    EXPECT_DOUBLE_EQ(desktop.now(), 2.0);
}

TEST_F(SimFixture, ShareableContentIsAnsweredOnAnotherThreadAndNeedsScreenRecording) {
    bool failed = false;
    auto& content = platform::shareableContent();
    content.request(false, false, [&](auto c, auto error) { failed = !c && error; });
    desktop.runUntilIdle();
    EXPECT_TRUE(failed);

    desktop.screenCaptureAllowed = true;
    desktop.addApplication({812, "com.example.editor", "Editor"});
    desktop.addWindow({471, 812, {120, 80, 800, 600}, true});
    desktop.addWindow({472, 812, {0, 0, 10, 10}, false});
    std::thread::id answeredOn;
    size_t all = 0, onScreen = 0;
    content.request(false, false, [&](auto c, auto) {
        answeredOn = std::this_thread::get_id();
        all = c->windows.size();
    });
    content.request(false, true, [&](auto c, auto) { onScreen = c->windows.size(); });
    desktop.runUntilIdle();
    EXPECT_NE(answeredOn, std::this_thread::get_id());
    EXPECT_EQ(all, 2u);
    EXPECT_EQ(onScreen, 1u);
}

TEST_F(SimFixture, QuittingAnApplicationTellsEveryCopyOnItsMainQueue) {
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

TEST_F(SimFixture, StoredTextsAndNumbersReadAcrossTypesAsTheDesktopDoes) {
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
