#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "support/SimFixture.h"

class TimerTest : public SimFixture {};

TEST_F(TimerTest, ARepeatingTimerFiresEachIntervalUntilInvalidated) {
    std::vector<double> fired;
    desktop.advance(0.25);
    auto timer = platform::timers().scheduledTimer(
        1.0, true, [&](platform::Timer&) { fired.push_back(desktop.now()); });
    desktop.advance(3.5);
    EXPECT_EQ(fired, (std::vector<double>{1.25, 2.25, 3.25}));
    timer->invalidate();
    desktop.advance(5);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(TimerTest, ABlockMayInvalidateItsTimerAndAOneShotFiresOnce) {
    int repeating = 0;
    int once = 0;
    platform::timers().scheduledTimer(0.5, true, [&](platform::Timer& timer) {
        if (++repeating == 2) timer.invalidate();
    });
    auto single = platform::timers().scheduledTimer(1.0, false, [&](platform::Timer&) { ++once; });
    desktop.advance(10);
    EXPECT_EQ(repeating, 2);
    EXPECT_EQ(once, 1);
    EXPECT_FALSE(single->isValid());
}

class DisplayLinkTest : public SimFixture {};

TEST_F(DisplayLinkTest, EachRefreshRunsEveryStartedHandlerOnceOnItsOwnThread) {
    std::mutex mutex;
    std::vector<std::thread::id> threads;
    std::atomic<int> stoppedRuns{0};
    auto first = platform::displayLinks().createWithActiveDisplays();
    auto second = platform::displayLinks().createWithActiveDisplays();
    auto idle = platform::displayLinks().createWithActiveDisplays();
    for (const auto& link : {first, second}) {
        link->setOutputHandler([&] {
            std::lock_guard lock(mutex);
            threads.push_back(std::this_thread::get_id());
            return 0;
        });
        link->start();
    }
    idle->setOutputHandler([&] { return ++stoppedRuns, 0; });

    desktop.displayLinks.refresh(3);
    ASSERT_EQ(threads.size(), 6u);
    const std::set<std::thread::id> distinct(threads.begin(), threads.end());
    EXPECT_EQ(distinct.size(), 2u);
    EXPECT_FALSE(distinct.contains(std::this_thread::get_id()));
    EXPECT_EQ(stoppedRuns, 0);

    first->stop();
    desktop.displayLinks.refresh();
    EXPECT_EQ(threads.size(), 7u);
}

TEST_F(DisplayLinkTest, StopWaitsForARunningHandlerAndDropsPendingRefreshes) {
    auto link = platform::displayLinks().createWithActiveDisplays();
    std::atomic<bool> entered{false};
    std::atomic<bool> running{false};
    std::atomic<int> runs{0};
    link->setOutputHandler([&] {
        running = true;
        entered = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ++runs;
        running = false;
        return 0;
    });
    link->start();
    std::thread refresher([&] { desktop.displayLinks.refresh(5); });
    while (!entered)
        std::this_thread::yield();
    link->stop();
    EXPECT_FALSE(running);
    refresher.join();  // returns although the later refreshes never ran
    EXPECT_LT(runs, 5);
    const int after = runs;
    desktop.displayLinks.refresh();
    EXPECT_EQ(runs, after);

    link->start();  // a stopped link can run again
    desktop.displayLinks.refresh();
    EXPECT_EQ(runs, after + 1);
}

TEST_F(DisplayLinkTest, AHandlerMayStopItsOwnLinkOrDropTheLastReference) {
    auto link = platform::displayLinks().createWithActiveDisplays();
    std::weak_ptr<platform::DisplayLink> weak = link;
    int runs = 0;
    link->setOutputHandler([&] {
        ++runs;
        if (auto self = weak.lock()) self->stop();
        return 0;
    });
    link->start();
    desktop.displayLinks.refresh(2);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(link->isRunning());

    auto owner = std::make_shared<std::shared_ptr<platform::DisplayLink>>(
        platform::displayLinks().createWithActiveDisplays());
    (*owner)->setOutputHandler([owner] {
        owner->reset();  // the link goes away on its own thread
        return 0;
    });
    (*owner)->start();
    desktop.displayLinks.refresh(2);
    EXPECT_EQ(*owner, nullptr);
}

TEST_F(DisplayLinkTest, CreationCanFail) {
    desktop.displayLinks.available = false;
    EXPECT_EQ(platform::displayLinks().createWithActiveDisplays(), nullptr);
}
