#include "platform/desktop/x11/X11RefreshThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/desktop/ChangeSignal.h"

namespace {

using namespace std::chrono_literals;

constexpr auto period = 2ms;

bool waitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Every link is called at its first refresh, then once after each change, by one thread.
TEST(RefreshThreadTest, LinksShareOneThreadAndAreCalledAtTheirStartAndAfterEachChange) {
    desktop::ChangeSignal changes;
    desktop::X11RefreshThread refresh(period, changes);
    std::atomic<int> first{0}, second{0};
    std::atomic<std::thread::id> firstThread, secondThread;
    int a = 0, b = 0;
    refresh.add(&a, [&] { firstThread = std::this_thread::get_id(), ++first; });
    refresh.add(&b, [&] { secondThread = std::this_thread::get_id(), ++second; });
    ASSERT_TRUE(waitFor([&] { return first == 1 && second == 1; }));
    std::this_thread::sleep_for(20 * period);
    EXPECT_EQ(first, 1);  // nothing changed: no calls
    EXPECT_EQ(second, 1);
    changes.notify();
    ASSERT_TRUE(waitFor([&] { return first == 2 && second == 2; }));
    EXPECT_EQ(firstThread.load(), secondThread.load());
    EXPECT_NE(firstThread.load(), std::this_thread::get_id());
    refresh.remove(&a);
    changes.notify();
    ASSERT_TRUE(waitFor([&] { return second == 3; }));
    EXPECT_EQ(first, 2);
}

// Once remove() returns, the handler has finished and never runs again; a handler may
// remove its own link.
TEST(RefreshThreadTest, RemoveWaitsForACallUnderWayUnlessCalledFromAHandler) {
    desktop::ChangeSignal changes;
    desktop::X11RefreshThread refresh(period, changes);
    std::atomic<bool> inside{false}, finished{false};
    std::atomic<int> calls{0}, selfRemoved{0};
    int slow = 0, self = 0;
    refresh.add(&slow, [&] {
        inside = true;
        ++calls;
        std::this_thread::sleep_for(100ms);
        finished = true;
    });
    refresh.add(&self, [&] {
        ++selfRemoved;
        refresh.remove(&self);
    });
    ASSERT_TRUE(waitFor([&] { return inside.load(); }));
    refresh.remove(&slow);
    EXPECT_TRUE(finished);
    changes.notify();
    std::this_thread::sleep_for(20 * period);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(selfRemoved, 1);
}

}  // namespace
