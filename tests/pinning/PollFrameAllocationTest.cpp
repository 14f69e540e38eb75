#include <gtest/gtest.h>

#include "pinning/MirrorFixture.h"
#include "support/AllocationCounter.h"

namespace {

class PollFrameAllocationTest : public MirrorFixture {};

// Once per refresh for every pinned window: an unchanged rectangle must cost no
// allocation and no main-queue work.
TEST_F(PollFrameAllocationTest, AnUnchangedRectangleAllocatesAndPostsNothing) {
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    panel->pollFrame();  // the first poll always differs from the zeros it starts with
    desktop.runUntilIdle();
    const int posts = testPlatform().mainPosts.load();

    allocationCounter::start();
    for (int i = 0; i < 100; ++i)
        panel->pollFrame();
    EXPECT_EQ(allocationCounter::stop(), 0u);
    EXPECT_EQ(testPlatform().mainPosts.load(), posts);

    desktop.axObservers.setAnnounces(editor, false);
    desktop.axObservers.moveWindow(471, {10, 10});
    panel->pollFrame();
    panel->pollFrame();
    EXPECT_EQ(testPlatform().mainPosts.load(), posts + 1);
}

}  // namespace
