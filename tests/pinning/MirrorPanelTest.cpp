#include <gmock/gmock.h>

#include <tuple>
#include <vector>

#include "pinning/MirrorFixture.h"
#include "platform/View.h"
#include "settings/ColorHex.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class MirrorPanelTest : public MirrorFixture {
protected:
    static std::shared_ptr<platform::Layer> frameLayer(const MirrorPanel& panel) {
        return panel.panel()->contentView()->layer();
    }
};

TEST_F(MirrorPanelTest, BuildsTheFramedPanelOverTheWindowWithoutShowingIt) {
    const auto panel = MirrorPanel::create({700, {100, 50, 800, 600}, std::nullopt, true});
    const sim::SimProgramWindow& window = simPanel(*panel);
    EXPECT_EQ(window.frame(), (platform::Rect{94, 424, 812, 612}));
    EXPECT_EQ(std::make_tuple(window.styleMask(), window.backing(), window.level(),
                              window.collectionBehavior(), window.backgroundColor()),
              std::make_tuple(32896u, 2, 3, 81u, platform::Color::clear()));
    // panel, deferred, shadow, opaque, released when closed, click-through, visible
    EXPECT_EQ((std::vector<bool>{window.isPanel(), window.deferred(), window.hasShadow(),
                                 window.isOpaque(), window.isReleasedWhenClosed(),
                                 window.ignoresMouseEvents(), window.isVisible()}),
              (std::vector<bool>{true, false, false, false, false, true, false}));
    EXPECT_THAT(window.setters(),
                ElementsAre("setLevel", "setBackgroundColor", "setHasShadow", "setOpaque",
                            "setReleasedWhenClosed", "setCollectionBehavior",
                            "setIgnoresMouseEvents", "setContentView"));

    const auto frame = frameLayer(*panel);
    EXPECT_EQ(frame->frame(), (platform::Rect{0, 0, 812, 612}));
    EXPECT_EQ(frame->cornerRadius(), 14);
    EXPECT_TRUE(frame->masksToBounds());
    EXPECT_EQ(hexString(frame->borderColor()), "66746A");
    EXPECT_EQ(frame->borderWidth(), 8);
    ASSERT_THAT(frame->sublayers(), ElementsAre(panel->contentLayer()));

    const auto& picture = panel->contentLayer();
    EXPECT_EQ(picture->frame(), (platform::Rect{6, 6, 800, 600}));
    EXPECT_EQ(picture->cornerRadius(), 8);
    EXPECT_TRUE(picture->masksToBounds());
    const std::shared_ptr<platform::Layer> video = panel->capture()->videoLayer();
    ASSERT_THAT(picture->sublayers(), ElementsAre(panel->capture()->staticLayer, video));
    for (const auto& layer : picture->sublayers()) {
        EXPECT_EQ(layer->frame(), (platform::Rect{0, 0, 800, 600}));
        EXPECT_EQ(layer->autoresizingMask(), 18u);
    }
    EXPECT_EQ(panel->capture()->stream(), nullptr);  // nothing started
    EXPECT_EQ(panel->pid(), 0);
}

TEST_F(MirrorPanelTest, TheStoredColourFramesANewPanel) {
    desktop.defaults["borderColorHex"] = std::string("#FF8000");
    const auto panel = MirrorPanel::create({700, {0, 0, 100, 100}, std::nullopt, true});
    EXPECT_EQ(hexString(frameLayer(*panel)->borderColor()), "FF8000");
}

TEST_F(MirrorPanelTest, ThePanelShowsBeforeTheCaptureAnswersAndAFailedStartClosesIt) {
    testPlatform().holdStarts = true;
    desktop.captureModel.setStartError(471, platform::PlatformError{-3802, "no permission"});
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(testPlatform().heldStarts(), 1u);
    EXPECT_TRUE(panel->panel()->isVisible());
    EXPECT_THAT(logMessages().back(), ::testing::StartsWith("pin: window found"));

    testPlatform().releaseStarts();
    desktop.runUntilIdle();
    EXPECT_EQ(logMessages().back(), "mirror: capture ERROR no permission");
    EXPECT_FALSE(panel->panel()->isVisible());
    EXPECT_EQ(simPanel(*panel).closeCount(), 1);
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));  // still counts as pinned
    EXPECT_EQ(desktop.eventTaps.tapsCreated(), 0);
    EXPECT_EQ(desktop.axObservers.observersCreated(), 0);
    EXPECT_TRUE(desktop.displayLinks.all().empty());
}

TEST_F(MirrorPanelTest, StoppingTwiceEndsEverythingAndRepeatsOnlyTheHarmlessSteps) {
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    const auto stream = desktop.captureModel.latestStream(471);
    panel->stop();
    panel->stop();
    EXPECT_EQ(stream->state(), sim::SimStream::State::stopped);
    EXPECT_EQ(simPanel(*panel).closeCount(), 2);
    EXPECT_EQ(desktop.eventTaps.listeningTaps(), 0);
    EXPECT_EQ(desktop.eventTaps.sourcesOnRunLoop(), 0u);
    EXPECT_EQ(desktop.axObservers.sourcesOnRunLoop(), 0u);
    EXPECT_TRUE(desktop.displayLinks.all().empty());
    clearLog();
    desktop.advance(3);  // the alive timer is gone too: no unpin
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
}

TEST_F(MirrorPanelTest, UnpinningBeforeTheStartRunsShowsAndCapturesNothing) {
    PinManager::shared().pin(editor, "Editor");
    const auto panel = PinManager::shared().mirrors.back();
    PinManager::shared().unpin(471);  // before the start's turn on the main queue
    desktop.runUntilIdle();
    EXPECT_EQ(simPanel(*panel).frameChanges().size(), 0u);
    EXPECT_FALSE(panel->panel()->isVisible());
    EXPECT_THAT(desktop.captureModel.streams(471), IsEmpty());
}

TEST_F(MirrorPanelTest, UnpinningBeforeTheCaptureAnswersStartsNothingMore) {
    testPlatform().holdStarts = true;
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    toggle();  // unpinned while the capture is still starting
    clearLog();
    testPlatform().releaseStarts();
    desktop.runUntilIdle();
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_THAT(logMessages(), IsEmpty());
    EXPECT_EQ(desktop.eventTaps.tapsCreated(), 0);
    EXPECT_EQ(desktop.axObservers.observersCreated(), 0);
    EXPECT_TRUE(desktop.displayLinks.all().empty());
    EXPECT_FALSE(panel->panel()->isVisible());
}

TEST_F(MirrorPanelTest, AStreamErrorStopsAndUnpinsOnlyItsPanel) {
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    PinManager::shared().pin(browser, "Browser");
    desktop.runUntilIdle();
    std::vector<std::vector<uint32_t>> seen;
    PinManager::shared().onPinChanged = [&seen] { seen.push_back(pinnedWindows()); };
    ASSERT_EQ(desktop.captureModel.failStreams(471, {-3815, "stopped"}), 1u);
    desktop.runUntilIdle();
    EXPECT_THAT(seen, ElementsAre(ElementsAre(501u)));
    EXPECT_EQ(simPanel(*panel).closeCount(), 2);      // by the handler, then by the unpin
    EXPECT_EQ(desktop.eventTaps.listeningTaps(), 1);  // the browser panel's alone
    EXPECT_EQ(desktop.captureModel.latestStream(501)->state(), sim::SimStream::State::running);
}

// A measured corner rounds picture and frame without animation; one equal to the
// picture's 8 points (16 pixels at scale 2) only logs.
class MeasuredCornerTest : public MirrorPanelTest,
                           public ::testing::WithParamInterface<std::tuple<int, double, double>> {};

TEST_P(MeasuredCornerTest, LogsAndRoundsOnlyWhenItDiffers) {
    const auto [pixels, picture, frame] = GetParam();
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    clearLog();
    desktop.transactions.clearChanges();
    desktop.captureModel.pushFrame(471, sim::SimFrame::opaqueFrom(pixels));
    desktop.runUntilIdle();
    EXPECT_THAT(logMessages(), ElementsAre("corner: radius " + std::to_string(pixels / 2) + ".0"));
    EXPECT_EQ(panel->contentLayer()->cornerRadius(), picture);
    EXPECT_EQ(frameLayer(*panel)->cornerRadius(), frame);
    const auto changes = desktop.transactions.changes();
    ASSERT_EQ(changes.size(), picture == 8 ? 0u : 2u);
    for (const auto& change : changes) {
        EXPECT_EQ(change.property, "cornerRadius");
        EXPECT_TRUE(change.actionsDisabled);
    }
}

INSTANTIATE_TEST_SUITE_P(Radii, MeasuredCornerTest,
                         ::testing::Values(std::make_tuple(24, 12.0, 18.0),
                                           std::make_tuple(16, 8.0, 14.0)));

TEST_F(MirrorPanelTest, TheClearColourHidesTheFrameAndAnotherBringsItBack) {
    const auto panel = MirrorPanel::create({700, {0, 0, 100, 100}, std::nullopt, true});
    const auto frame = frameLayer(*panel);
    panel->setBorderColor(platform::Color::clear());
    EXPECT_EQ(frame->borderWidth(), 0);
    EXPECT_EQ(frame->borderColor(), platform::Color::clear());
    const platform::Color red = platform::Color::sRGB(1, 0, 0, 1);
    panel->setBorderColor(red);
    EXPECT_EQ(frame->borderWidth(), 8);
    EXPECT_EQ(frame->borderColor(), red);
    // Transparent, but not the clear colour itself: the frame stays.
    panel->setBorderColor(platform::Color::sRGB(0, 0, 0, 0));
    EXPECT_EQ(frame->borderWidth(), 8);
}

}  // namespace
