#include "platform/desktop/x11/X11FrameScratch.h"

#include <gtest/gtest.h>

namespace {

// Frame after frame the same memory comes back; a frame locked while another holds it gets
// memory of its own, which does not replace the reused one.
TEST(FrameScratchTest, OneBufferIsPassedFromFrameToFrameAndAnExtraOneIsDropped) {
    desktop::X11FrameScratch scratch;
    auto first = scratch.take();
    EXPECT_TRUE(first.pooled);
    first.image.resize(4096);
    const uint8_t* memory = first.image.data();
    auto extra = scratch.take();  // while the first is held
    EXPECT_FALSE(extra.pooled);
    extra.image.resize(16);
    scratch.giveBack(std::move(first));
    scratch.giveBack(std::move(extra));
    auto next = scratch.take();
    EXPECT_TRUE(next.pooled);
    EXPECT_EQ(next.image.data(), memory);
    EXPECT_EQ(next.image.size(), 4096u);
}

}  // namespace
