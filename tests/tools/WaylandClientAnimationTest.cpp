#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "waylandclient/Animation.h"

namespace {

constexpr int64_t ms = 1'000'000;

// Asks for frames every millisecond of `lengthMs` from `fromMs` on; the frames drawn.
std::vector<Animation::Frame> drawEveryMs(Animation& animation, int fromMs, int lengthMs) {
    std::vector<Animation::Frame> frames;
    for (int t = fromMs; t < fromMs + lengthMs; ++t)
        if (auto frame = animation.due(t * ms)) frames.push_back(*frame);
    return frames;
}

TEST(WaylandClientAnimation, DrawsEachFrameOnceAtItsTimeAndThenStops) {
    Animation animation;
    EXPECT_EQ(animation.waitMs(0), -1);
    EXPECT_FALSE(animation.due(0));
    ASSERT_TRUE(animation.start(60, 1, 1000 * ms));
    EXPECT_EQ(animation.waitMs(1000 * ms), 0);  // the first frame at once
    ASSERT_TRUE(animation.due(1000 * ms));
    EXPECT_EQ(animation.waitMs(1000 * ms), 17);
    EXPECT_FALSE(animation.due(1010 * ms));

    const auto frames = drawEveryMs(animation, 1001, 2000);
    EXPECT_EQ(frames.size(), 59u);
    EXPECT_FALSE(animation.running());
    EXPECT_EQ(animation.waitMs(3000 * ms), -1);
}

TEST(WaylandClientAnimation, AFrameThatFellBehindIsSkippedNotDrawnInABurst) {
    Animation animation;
    ASSERT_TRUE(animation.start(10, 1, 0));  // a frame every 100 ms
    ASSERT_TRUE(animation.due(0));
    ASSERT_TRUE(animation.due(450 * ms));   // frames 1 to 3 are gone
    EXPECT_FALSE(animation.due(460 * ms));  // not in a burst
    EXPECT_EQ(animation.waitMs(460 * ms), 40);
    const auto rest = drawEveryMs(animation, 461, 1000);
    EXPECT_EQ(rest.size(), 5u);  // 500 ms to 900 ms
}

// A reader of the screen tells frames apart by colour alone.
TEST(WaylandClientAnimation, ConsecutiveFramesDifferInEveryChannelAcrossRuns) {
    Animation animation;
    std::vector<Animation::Frame> frames;
    for (int run = 0; run < 3; ++run) {
        ASSERT_TRUE(animation.start(100, 4, run * 10'000 * ms));
        const auto drawn = drawEveryMs(animation, run * 10'000, 5000);
        frames.insert(frames.end(), drawn.begin(), drawn.end());
    }
    ASSERT_EQ(frames.size(), 1200u);
    for (size_t i = 1; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].number, frames[i - 1].number + 1);
        for (const int shift : {0, 8, 16})
            EXPECT_NE((frames[i].color >> shift) & 0xFF, (frames[i - 1].color >> shift) & 0xFF)
                << "frame " << frames[i].number;
    }
}

TEST(WaylandClientAnimation, RefusesARateOrLengthOutOfRange) {
    Animation animation;
    EXPECT_FALSE(animation.start(0, 1, 0));
    EXPECT_FALSE(animation.start(-5, 1, 0));
    EXPECT_FALSE(animation.start(2000, 1, 0));
    EXPECT_FALSE(animation.start(60, -1, 0));
    EXPECT_FALSE(animation.start(60, 4000, 0));
    EXPECT_FALSE(animation.running());
}

}  // namespace
