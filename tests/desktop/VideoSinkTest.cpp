#include "platform/desktop/x11/X11VideoSink.h"

#include <gtest/gtest.h>

namespace {

using Layout = desktop::X11VideoSink::Layout;

Layout layout(int16_t x, std::vector<xcb_rectangle_t> clip) {
    return {0x400001, 0x21, {x, 6, 400, 300}, std::move(clip)};
}

// The capture thread sets its clip again only when it sees another layout object: the
// same layout armed again must keep its object, any change must bring a new one.
TEST(VideoSinkTest, OnlyAChangedLayoutBringsANewOneAndDisarmingTakesItBack) {
    desktop::X11VideoSink sink;
    EXPECT_EQ(sink.layout(), nullptr);
    sink.arm(layout(6, {{6, 6, 400, 300}}));
    const auto first = sink.layout();
    ASSERT_NE(first, nullptr);
    sink.arm(layout(6, {{6, 6, 400, 300}}));
    EXPECT_EQ(sink.layout(), first);
    sink.arm(layout(6, {{6, 8, 400, 296}, {8, 6, 396, 2}}));
    const auto reshaped = sink.layout();
    EXPECT_NE(reshaped, first);
    ASSERT_EQ(reshaped->clip.size(), 2u);
    sink.arm(layout(7, reshaped->clip));
    EXPECT_NE(sink.layout(), reshaped);
    EXPECT_EQ(sink.layout()->rect.x, 7);
    sink.disarm();
    EXPECT_EQ(sink.layout(), nullptr);
}

}  // namespace
