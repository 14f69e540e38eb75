#include <gtest/gtest.h>

#include <vector>

#include "capture/CaptureManager.h"
#include "platform/sim/SimPixelBuffer.h"
#include "support/AllocationCounter.h"
#include "support/SimFixture.h"

namespace {

class FrameAllocationTest : public SimFixture {};

TEST_F(FrameAllocationTest, FramesAfterTheCornerIsKnownAllocateNothing) {
    auto capture = std::make_shared<CaptureManager>();
    const platform::SCWindow window{471, {0, 0, 800, 600}, std::nullopt, true};
    desktop.addWindow({471, 0, window.frame, true});
    capture->startCapture(window, [](auto) {});
    desktop.runUntilIdle();
    sim::SimFrame frame = sim::SimFrame::opaqueFrom(16);
    frame.width = 1600;
    frame.height = 1200;
    const auto sample = sim::makeSampleBuffer(frame);
    capture->didOutputSampleBuffer(sample, platform::StreamOutputType::screen);
    desktop.runUntilIdle();
    ASSERT_TRUE(capture->measuredCorner());

    allocationCounter::start();
    for (int i = 0; i < 100; ++i)
        capture->didOutputSampleBuffer(sample, platform::StreamOutputType::screen);
    EXPECT_EQ(allocationCounter::stop(), 0u);
    EXPECT_EQ(capture->videoLayer()->sampleBufferRenderer().enqueuedCount(), 101u);
}

TEST_F(FrameAllocationTest, TheCounterSeesAllocations) {
    allocationCounter::start();
    std::vector<int>* volatile probe =
        new std::vector<int>(3);  // kept: the optimiser may not drop it
    const size_t allocations = allocationCounter::stop();
    delete probe;
    EXPECT_EQ(allocations, 2u);  // the vector and its elements
}

}  // namespace
