#include <gmock/gmock.h>

#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "capture/CaptureManager.h"
#include "platform/sim/SimPixelBuffer.h"
#include "support/AllocationCounter.h"
#include "support/SimFixture.h"

namespace {

using State = sim::SimStream::State;

// A capture manager of one 800 x 600 window, recording its callbacks.
class CaptureManagerTest : public SimFixture {
protected:
    CaptureManagerTest() {
        desktop.addApplication({812, "com.example.editor", "Editor"});
        desktop.addWindow({471, 812, {120, 80, 800, 600}, true});
        capture->onError = [this] { ++errors; };
        capture->onCornerMeasured = [this](double radius) { corners.push_back(radius); };
    }

    // The completion's error, once the start has finished.
    std::optional<platform::PlatformError> start(const platform::SCWindow& window) {
        auto result = std::make_shared<std::optional<std::optional<platform::PlatformError>>>();
        capture->startCapture(window, [this, result](auto error) {
            desktop.postMain(0, [result, error] { *result = error; });
        });
        desktop.runUntilIdle();
        EXPECT_TRUE(result->has_value()) << "the start never completed";
        return result->value_or(std::nullopt);
    }

    void push(const sim::SimFrame& frame) {
        desktop.captureModel.pushFrame(window.windowID, frame);
        desktop.runUntilIdle();
    }

    uint64_t displayed() const {
        return capture->videoLayer()->sampleBufferRenderer().enqueuedCount();
    }

    platform::SCWindow window{471,
                              {120, 80, 800, 600},
                              platform::RunningApplication{812, "com.example.editor", "Editor"},
                              true};
    std::shared_ptr<CaptureManager> capture = std::make_shared<CaptureManager>();
    int errors = 0;
    std::vector<double> corners;
};

TEST_F(CaptureManagerTest, ConfiguresOneWindowInPixels) {
    ASSERT_EQ(start(window), std::nullopt);
    const auto stream = desktop.captureModel.latestStream(471);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(capture->stream(), stream);
    EXPECT_EQ(stream->state(), State::running);
    const platform::StreamConfiguration& c = stream->configuration();
    EXPECT_EQ(std::make_tuple(c.width, c.height, c.pixelFormat, c.colorSpaceName, c.showsCursor,
                              c.capturesAudio, c.minimumFrameInterval, c.queueDepth),
              std::make_tuple(1600u, 1200u, 0x42475241u, "kCGColorSpaceSRGB", false, false,
                              platform::FrameInterval{1, 120}, 2));
}

TEST_F(CaptureManagerTest, SizesBelowOnePixelAreRaisedAndFractionsTruncated) {
    desktop.addWindow({480, 812, {0, 0, 0, 100.3}, true});
    desktop.captureModel.setScale(480, 1.5);
    ASSERT_EQ(start({480, {0, 0, 0, 100.3}, std::nullopt, true}), std::nullopt);
    const auto& configuration = desktop.captureModel.latestStream(480)->configuration();
    EXPECT_EQ(configuration.width, 1u);
    EXPECT_EQ(configuration.height, 150u);
}

// No window size or scale makes a side that a stream cannot have.
TEST_F(CaptureManagerTest, SidesAreClampedToWhatAStreamCanHave) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::tuple<double, double, double, size_t, size_t> cases[] = {
        {1e20, 600, 2, 16384, 1200},
        {800, 600, 1e300, 16384, 16384},
        {8192, 8192.5, 2, 16384, 16384},
        {nan, -5, 2, 1, 1},
        {800, 600, std::numeric_limits<double>::infinity(), 16384, 16384},
    };
    uint32_t number = 480;
    for (const auto& [width, height, scale, pixelsWide, pixelsHigh] : cases) {
        const platform::SCWindow shown{number, {0, 0, width, height}, std::nullopt, true};
        desktop.addWindow({number, 812, shown.frame, true});
        desktop.captureModel.setScale(number, scale);
        capture = std::make_shared<CaptureManager>();
        ASSERT_EQ(start(shown), std::nullopt);
        const auto& configuration = desktop.captureModel.latestStream(number++)->configuration();
        EXPECT_EQ(configuration.width, pixelsWide) << width << " x " << scale;
        EXPECT_EQ(configuration.height, pixelsHigh) << height << " x " << scale;
    }
}

TEST_F(CaptureManagerTest, ASecondStartDoesNothingUntilTheStreamIsStopped) {
    ASSERT_EQ(start(window), std::nullopt);
    ASSERT_EQ(start(window), std::nullopt);
    EXPECT_EQ(desktop.captureModel.streams(471).size(), 1u);
    capture->stopCapture();
    capture->stopCapture();  // without a stream: nothing
    desktop.runUntilIdle();
    EXPECT_EQ(capture->stream(), nullptr);
    EXPECT_EQ(desktop.captureModel.latestStream(471)->state(), State::stopped);
    ASSERT_EQ(start(window), std::nullopt);
    EXPECT_EQ(desktop.captureModel.streams(471).size(), 2u);
}

TEST_F(CaptureManagerTest, AFailedStartReportsTheErrorAndKeepsTheStream) {
    desktop.captureModel.setAddOutputError(471, platform::PlatformError{-3807, "no output"});
    const auto error = start(window);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->description, "no output");
    EXPECT_NE(capture->stream(), nullptr);
    EXPECT_EQ(start(window), std::nullopt);  // the kept stream makes it return at once
    EXPECT_EQ(desktop.captureModel.streams(471).size(), 1u);

    capture->stopCapture();
    desktop.captureModel.setAddOutputError(471, std::nullopt);
    desktop.captureModel.setStartError(471, platform::PlatformError{-3802, "no start"});
    EXPECT_EQ(start(window)->description, "no start");
}

TEST_F(CaptureManagerTest, FramesWithoutImageAreShownAndMeasuredAgainUntilOneAllows) {
    ASSERT_EQ(start(window), std::nullopt);
    sim::SimFrame noImage;
    noImage.hasImage = false;
    push(noImage);
    push(sim::SimFrame());  // transparent row 1
    EXPECT_TRUE(corners.empty());
    EXPECT_FALSE(capture->measuredCorner());
    push(sim::SimFrame::opaqueFrom(24));
    push(sim::SimFrame::opaqueFrom(40));
    EXPECT_THAT(corners, ::testing::ElementsAre(12.0));
    EXPECT_TRUE(capture->measuredCorner());
    EXPECT_EQ(displayed(), 4u);
    EXPECT_EQ(capture->videoLayer()->sampleBufferRenderer().lastImageSize(),
              (platform::Size{1600, 1200}));
    capture->stopCapture();
    EXPECT_TRUE(capture->measuredCorner());
}

TEST_F(CaptureManagerTest, InvalidFramesAndOtherOutputTypesAreNeitherMeasuredNorShown) {
    ASSERT_EQ(start(window), std::nullopt);
    sim::SimFrame invalid = sim::SimFrame::opaqueFrom(10);
    invalid.width = 1600;
    invalid.height = 1200;
    invalid.valid = false;
    capture->didOutputSampleBuffer(sim::makeSampleBuffer(invalid),
                                   platform::StreamOutputType::screen);
    invalid.valid = true;
    capture->didOutputSampleBuffer(sim::makeSampleBuffer(invalid),
                                   platform::StreamOutputType::audio);
    desktop.runUntilIdle();
    EXPECT_EQ(displayed(), 0u);
    EXPECT_TRUE(corners.empty());
    EXPECT_FALSE(capture->measuredCorner());
}

TEST_F(CaptureManagerTest, AStreamThatFailsBeforeItsFirstUsableFrameReportsOneErrorAndNoCorner) {
    ASSERT_EQ(start(window), std::nullopt);
    push(sim::SimFrame());
    EXPECT_EQ(desktop.captureModel.failStreams(471, {-3815, "gone"}), 1u);
    EXPECT_EQ(desktop.captureModel.failStreams(471, {-3815, "gone"}), 0u);
    push(sim::SimFrame::opaqueFrom(0));  // a stopped stream delivers nothing
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(corners.empty());
    EXPECT_NE(capture->stream(), nullptr);  // until the owner stops it
}

TEST_F(CaptureManagerTest, CallbacksDoNothingOnceTheManagerIsGone) {
    ASSERT_EQ(start(window), std::nullopt);
    desktop.captureModel.failStreams(471, {-3815, "gone"});
    capture.reset();
    desktop.runUntilIdle();
    EXPECT_EQ(errors, 0);
}

// Frames are handled on two threads at once; the radius must still be reported once.
TEST_F(CaptureManagerTest, FramesMeasuredTogetherReportTheCornerOnce) {
    ASSERT_EQ(start(window), std::nullopt);
    for (int round = 0; round < 20; ++round)
        desktop.captureModel.pushFrame(471, sim::SimFrame::opaqueFrom(8));
    desktop.runUntilIdle();
    EXPECT_THAT(corners, ::testing::ElementsAre(4.0));
    EXPECT_EQ(displayed(), 20u);
}

TEST_F(CaptureManagerTest, FramesAfterTheCornerIsKnownAllocateNothing) {
    ASSERT_EQ(start(window), std::nullopt);
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
    EXPECT_EQ(displayed(), 101u);

    allocationCounter::start();  // the counter itself sees allocations
    std::vector<int>* volatile probe = new std::vector<int>(3);
    const size_t allocations = allocationCounter::stop();
    delete probe;
    EXPECT_EQ(allocations, 2u);  // the vector and its elements
}

}  // namespace
