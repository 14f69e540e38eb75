#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "support/SimFixture.h"

TEST_F(SimFixture, TimersFireEachIntervalUntilInvalidatedAndAOneShotFiresOnce) {
    std::vector<double> fired;
    int repeating = 0, once = 0;
    desktop.advance(0.25);
    auto timer = platform::timers().scheduledTimer(
        1.0, true, [&](platform::Timer&) { fired.push_back(desktop.now()); });
    platform::timers().scheduledTimer(0.5, true, [&](platform::Timer& self) {
        if (++repeating == 2) self.invalidate();  // from inside its own block
    });
    auto single = platform::timers().scheduledTimer(1.0, false, [&](platform::Timer&) { ++once; });
    desktop.advance(3.5);
    EXPECT_EQ(fired, (std::vector<double>{1.25, 2.25, 3.25}));
    timer->invalidate();
    desktop.advance(5);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(repeating, 2);
    EXPECT_EQ(once, 1);
    EXPECT_FALSE(single->isValid());
}

TEST_F(SimFixture, EachRefreshRunsEveryStartedDisplayLinkOnceOnItsOwnThread) {
    std::mutex mutex;
    std::vector<std::thread::id> threads;
    std::atomic<int> stoppedRuns{0};
    auto& links = platform::displayLinks();
    auto first = links.createWithActiveDisplays(), second = links.createWithActiveDisplays();
    for (const auto& link : {first, second}) {
        link->setOutputHandler([&] {
            std::lock_guard lock(mutex);
            threads.push_back(std::this_thread::get_id());
            return 0;
        });
        link->start();
    }
    auto idle = links.createWithActiveDisplays();
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
    desktop.displayLinks.available = false;
    EXPECT_EQ(links.createWithActiveDisplays(), nullptr);
}

TEST_F(SimFixture, StoppingADisplayLinkWaitsForARunningHandlerAndDropsPendingRefreshes) {
    auto link = platform::displayLinks().createWithActiveDisplays();
    std::atomic<bool> entered{false}, running{false};
    std::atomic<int> runs{0};
    link->setOutputHandler([&] {
        running = entered = true;
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

TEST_F(SimFixture, ADisplayLinkHandlerMayStopItsOwnLinkOrDropTheLastReference) {
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
