#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "capture/CornerRadius.h"
#include "platform/sim/SimPixelBuffer.h"

namespace {

struct Case {
    const char* name;
    size_t width;
    size_t height;
    std::optional<size_t> alphaFrom;
    std::optional<size_t> blueFrom;
    std::optional<double> windowWidth;
    std::optional<double> expected;
    size_t bytesPerRow = 0;
};

class CornerRadiusTest : public ::testing::TestWithParam<Case> {};

TEST_P(CornerRadiusTest, MeasuresRowOneAndUnlocksTheImage) {
    const Case& c = GetParam();
    sim::SimFrame frame;
    frame.width = c.width;
    frame.height = c.height;
    frame.bytesPerRow = c.bytesPerRow;
    frame.alphaFrom = c.alphaFrom;
    frame.blueFrom = c.blueFrom;
    auto image = sim::makePixelBuffer(frame);
    const platform::SampleBuffer sample(true, image);
    EXPECT_EQ(cornerRadiusPoints(sample, c.windowWidth), c.expected);
    EXPECT_EQ(image->locks(), 0);
    // A capture that must fetch its pixels fetches only the scanned part of row 1.
    const platform::PixelRegion scanned{0, 1, std::min<size_t>(c.width, 600), 1};
    EXPECT_EQ(image->lockedRegion(), scanned);
}

const std::optional<double> none;

INSTANTIATE_TEST_SUITE_P(
    Cases, CornerRadiusTest,
    ::testing::Values(Case{"OpaqueFromTheFirstPixel", 1600, 1200, 0, 0, 800.0, 0.0},
                      Case{"LargerIndexWinsThenScaleTwo", 1600, 1200, 24, 30, 800.0, 15.0},
                      Case{"AlphaOnly", 1600, 1200, 24, none, none, 24.0},
                      Case{"BlueOnly", 1600, 1200, none, 10, none, 10.0},
                      Case{"CappedAtSixtyPixels", 1600, 1200, 75, 75, 800.0, 30.0},
                      Case{"ScaleBelowOneIsRaisedToOne", 500, 400, 20, 20, 1000.0, 20.0},
                      Case{"WindowWidthZeroKeepsPixels", 1600, 1200, 20, 20, 0.0, 20.0},
                      Case{"FractionalScale", 1000, 400, 30, 30, 800.0, 24.0},
                      Case{"OnePixelHigh", 1600, 1, 0, 0, 800.0, none},
                      Case{"OnePixelWide", 1, 100, 0, 0, 800.0, none},
                      Case{"TransparentRow", 1600, 1200, none, none, 800.0, none},
                      Case{"ReachedOnlyAfterTheScanLimit", 2000, 100, 700, 700, none, none},
                      Case{"ReachedAtTheLastScannedPixel", 2000, 100, 599, 599, none, 60.0},
                      Case{"StridePaddingIsSkipped", 100, 10, 40, 40, none, 40.0, 4 * 100 + 64}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CornerRadiusEdges, AFrameWithoutImageOrPixelsGivesNothing) {
    EXPECT_EQ(cornerRadiusPoints(platform::SampleBuffer(true, nullptr), 800.0), std::nullopt);
    sim::SimFrame frame = sim::SimFrame::opaqueFrom(0);
    frame.width = 100;
    frame.height = 100;
    frame.hasPixels = false;
    auto image = sim::makePixelBuffer(frame);
    EXPECT_EQ(cornerRadiusPoints(platform::SampleBuffer(true, image), 800.0), std::nullopt);
    EXPECT_EQ(image->locks(), 0);
}

}  // namespace
