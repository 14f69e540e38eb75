#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "capture/CaptureManager.h"
#include "platform/sim/SimPixelBuffer.h"
#include "support/SimFixture.h"

// These replacements pair malloc with free, which the compiler cannot see through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Counts the allocations of the thread that asks for it, for the whole test binary.
namespace {
thread_local bool counting = false;
thread_local size_t allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

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

    allocations = 0;
    counting = true;
    for (int i = 0; i < 100; ++i)
        capture->didOutputSampleBuffer(sample, platform::StreamOutputType::screen);
    counting = false;
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(capture->videoLayer()->sampleBufferRenderer().enqueuedCount(), 101u);
}

TEST_F(FrameAllocationTest, TheCounterSeesAllocations) {
    allocations = 0;
    counting = true;
    std::vector<int>* volatile probe =
        new std::vector<int>(3);  // kept: the optimiser may not drop it
    counting = false;
    delete probe;
    EXPECT_EQ(allocations, 2u);  // the vector and its elements
}

}  // namespace
