#include <gmock/gmock.h>

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
    EXPECT_TRUE(window.isPanel());
    EXPECT_EQ(window.styleMask(), 32896u);
    EXPECT_EQ(window.backing(), 2);
    EXPECT_FALSE(window.deferred());
    EXPECT_EQ(window.level(), 3);
    EXPECT_EQ(window.backgroundColor(), platform::Color::clear());
    EXPECT_FALSE(window.hasShadow());
    EXPECT_FALSE(window.isOpaque());
    EXPECT_FALSE(window.isReleasedWhenClosed());
    EXPECT_EQ(window.collectionBehavior(), 81u);
    EXPECT_TRUE(window.ignoresMouseEvents());
    EXPECT_FALSE(window.isVisible());
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

TEST_F(MirrorPanelTest, AStartThatSucceedsRunsObserverTapTimerAndLink) {
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(logMessages().back(), "mirror: capture OK");
    EXPECT_EQ(desktop.axObservers.observersCreated(), 1);
    EXPECT_EQ(desktop.axObservers.sourcesOnRunLoop(), 1u);
    EXPECT_EQ(desktop.eventTaps.listeningTaps(), 1);
    ASSERT_EQ(desktop.displayLinks.all().size(), 1u);
    EXPECT_TRUE(desktop.displayLinks.all().front()->isRunning());
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

TEST_F(MirrorPanelTest, AStreamErrorStopsAndUnpinsThePanel) {
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    desktop.captureModel.failStreams(471, {-3815, "stopped"});
    desktop.runUntilIdle();
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_EQ(simPanel(*panel).closeCount(), 2);  // by the handler, then by the unpin
    EXPECT_EQ(desktop.eventTaps.listeningTaps(), 0);
}

TEST_F(MirrorPanelTest, AMeasuredCornerRoundsPictureAndFrameWithoutAnimation) {
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    clearLog();
    desktop.transactions.clearChanges();
    desktop.captureModel.pushFrame(471, sim::SimFrame::opaqueFrom(24));
    desktop.runUntilIdle();
    EXPECT_THAT(logMessages(), ElementsAre("corner: radius 12.0"));
    EXPECT_EQ(panel->contentLayer()->cornerRadius(), 12);
    EXPECT_EQ(frameLayer(*panel)->cornerRadius(), 18);
    const auto changes = desktop.transactions.changes();
    ASSERT_EQ(changes.size(), 2u);
    for (const auto& change : changes) {
        EXPECT_EQ(change.property, "cornerRadius");
        EXPECT_TRUE(change.actionsDisabled);
    }
}

TEST_F(MirrorPanelTest, AMeasuredCornerEqualToThePicturesOnlyLogs) {
    const auto panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    clearLog();
    desktop.transactions.clearChanges();
    desktop.captureModel.pushFrame(471, sim::SimFrame::opaqueFrom(16));  // 8 points at scale 2
    desktop.runUntilIdle();
    EXPECT_THAT(logMessages(), ElementsAre("corner: radius 8.0"));
    EXPECT_THAT(desktop.transactions.changes(), IsEmpty());
    EXPECT_EQ(frameLayer(*panel)->cornerRadius(), 14);
}

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
