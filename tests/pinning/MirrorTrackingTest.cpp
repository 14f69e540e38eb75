#include <gmock/gmock.h>

#include "pinning/MirrorFixture.h"
#include "support/AllocationCounter.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The editor's window 471 starts at (120, 80, 800 x 600): panel (114, 394, 812, 612).
class MirrorTrackingTest : public MirrorFixture {
protected:
    void SetUp() override {
        MirrorFixture::SetUp();
        panel = pinEditor();
        ASSERT_NE(panel, nullptr);
        desktop.displayLinks.refresh();  // the first poll sees a rectangle unlike all zeros
        desktop.runUntilIdle();
    }

    std::vector<platform::Rect> frameChanges() const {
        std::vector<platform::Rect> frames;
        for (const auto& change : simPanel(*panel).frameChanges())
            frames.push_back(change.frame);
        return frames;
    }

    std::shared_ptr<MirrorPanel> panel;
};

TEST_F(MirrorTrackingTest, WithoutAScreenCoordinatesAreKept) {
    desktop.screens.clear();
    EXPECT_EQ(cgToScreen({100, 50, 800, 600}), (platform::Rect{100, 50, 800, 600}));
}

// Once per refresh for every pinned window: an unchanged rectangle must cost no
// allocation and no main-queue work.
TEST_F(MirrorTrackingTest, PollingMovesThePanelOnlyWhenTheRectangleChanged) {
    EXPECT_EQ(simPanel(*panel).frameChanges().size(), 0u);  // already there
    const int posts = testPlatform().mainPosts.load();
    allocationCounter::start();
    for (int i = 0; i < 100; ++i)
        panel->pollFrame();
    EXPECT_EQ(allocationCounter::stop(), 0u);
    desktop.displayLinks.refresh(5);
    EXPECT_EQ(testPlatform().mainPosts.load(), posts);

    desktop.axObservers.setAnnounces(editor, false);  // a drag seen by polling alone
    desktop.axObservers.moveWindow(471, {130, 90});
    desktop.displayLinks.refresh(3);
    EXPECT_EQ(testPlatform().mainPosts.load(), posts + 1);
    desktop.runUntilIdle();
    EXPECT_THAT(frameChanges(), ElementsAre(platform::Rect{124, 384, 812, 612}));
    const auto& change = simPanel(*panel).frameChanges().back();
    EXPECT_TRUE(change.display);
    EXPECT_TRUE(change.actionsDisabled);
}

TEST_F(MirrorTrackingTest, AnObserverNotificationAndAPollOfTheSameRectangleMoveThePanelOnce) {
    desktop.axObservers.moveWindow(471, {200, 150});
    desktop.runUntilIdle();  // the observer's callback syncs the frame
    EXPECT_EQ(desktop.axObservers.callbacks(), 1);
    desktop.displayLinks.refresh();
    desktop.runUntilIdle();
    desktop.axObservers.resizeWindow(471, {800, 600});  // a resize to the same size
    desktop.runUntilIdle();
    EXPECT_EQ(desktop.axObservers.callbacks(), 2);
    EXPECT_THAT(frameChanges(), ElementsAre(platform::Rect{194, 324, 812, 612}));
}

TEST_F(MirrorTrackingTest, AResizeGrowsThePanelAndThePicture) {
    desktop.axObservers.resizeWindow(471, {1000, 700});
    desktop.runUntilIdle();
    EXPECT_EQ(panel->panel()->frame(), (platform::Rect{114, 294, 1012, 712}));
    EXPECT_EQ(panel->panel()->contentView()->layer()->frame(), (platform::Rect{0, 0, 1012, 712}));
    EXPECT_EQ(panel->contentLayer()->frame(), (platform::Rect{6, 6, 1000, 700}));
    EXPECT_EQ(panel->capture()->videoLayer()->frame(), (platform::Rect{0, 0, 1000, 700}));
}

TEST_F(MirrorTrackingTest, AMissingWidthMakesThePanelTwelveWide) {
    desktop.windowList.omitBoundsKey(471, "Width");
    panel->syncFrame();
    EXPECT_EQ(panel->panel()->frame(), (platform::Rect{114, 394, 12, 612}));
}

TEST_F(MirrorTrackingTest, ARecordWithoutBoundsOrNoAnswerLeavesThePanel) {
    desktop.windowList.omitBounds(471);
    desktop.axObservers.moveWindow(471, {0, 0});
    desktop.displayLinks.refresh();
    desktop.runUntilIdle();
    desktop.windowList.restoreBounds(471);
    desktop.windowList.answers = false;
    desktop.displayLinks.refresh();
    panel->syncFrame();
    desktop.runUntilIdle();
    EXPECT_THAT(frameChanges(), IsEmpty());
}

TEST_F(MirrorTrackingTest, AnOpenWindowStaysPinnedAndAClosedOneGoesWithinOneSecond) {
    desktop.advance(5.5);
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    desktop.closeWindow(471);
    desktop.advance(0.99);
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_FALSE(panel->panel()->isVisible());
    EXPECT_EQ(desktop.captureModel.latestStream(471)->state(), sim::SimStream::State::stopped);
}

// Polling keeps the height measured when the first panel was built; syncFrame and new
// panels ask for the screens.
TEST_F(MirrorTrackingTest, AChangedScreenHeightIsSeenBySyncButNotByPolling) {
    desktop.screens.front().frame.height = 900;
    desktop.axObservers.setAnnounces(editor, false);
    desktop.axObservers.moveWindow(471, {120, 100});
    desktop.displayLinks.refresh();
    desktop.runUntilIdle();
    EXPECT_EQ(panel->panel()->frame(), (platform::Rect{114, 374, 812, 612}));  // 1080 high
    panel->syncFrame();
    EXPECT_EQ(panel->panel()->frame(), (platform::Rect{114, 194, 812, 612}));  // 900 high
    const auto later = MirrorPanel::create({700, {120, 100, 800, 600}, std::nullopt, true});
    EXPECT_EQ(later->panel()->frame(), (platform::Rect{114, 194, 812, 612}));
}

TEST_F(MirrorTrackingTest, WithoutADisplayLinkOrObserverTheOtherMechanismsStillWork) {
    PinManager::shared().unpinAll();
    desktop.displayLinks.available = false;
    desktop.axObservers.createError = platform::axErrorFailure;
    panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(desktop.eventTaps.listeningTaps(), 1);
    desktop.closeWindow(471);
    desktop.advance(1);
    EXPECT_THAT(pinnedWindows(), IsEmpty());
}

TEST_F(MirrorTrackingTest, AWindowTheApplicationDoesNotListIsFollowedByPollingAlone) {
    PinManager::shared().unpinAll();
    desktop.axModel.setWindows(editor, {472});
    panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(desktop.axObservers.observersCreated(), 1);  // only the first pin's
    desktop.axObservers.moveWindow(471, {300, 80});
    desktop.displayLinks.refresh();
    desktop.runUntilIdle();
    EXPECT_EQ(panel->panel()->frame(), (platform::Rect{294, 394, 812, 612}));
}

TEST_F(MirrorTrackingTest, AWindowWithoutOwnerHasNoObserver) {
    PinManager::shared().unpinAll();
    desktop.addWindow({480, 0, {0, 0, 300, 200}, true});
    desktop.axModel.setFocusedWindow(editor, 480);  // the lookup finds the ownerless window
    panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->pid(), 0);
    EXPECT_EQ(desktop.axObservers.observersCreated(), 1);  // only the first pin's
    EXPECT_EQ(desktop.eventTaps.listeningTaps(), 1);
}

// A stopped panel's observer hears nothing more, even of a move announced before the stop.
TEST_F(MirrorTrackingTest, NotificationsPendingAtStopAreDropped) {
    desktop.axObservers.moveWindow(471, {500, 500});
    panel->stop();
    desktop.runUntilIdle();
    EXPECT_EQ(desktop.axObservers.callbacks(), 0);
    EXPECT_THAT(frameChanges(), IsEmpty());
}

// Polls and posted frames hold the panel weakly: a released panel is not kept or reached.
TEST_F(MirrorTrackingTest, WorkPostedForAReleasedPanelDoesNothing) {
    std::weak_ptr<MirrorPanel> weak = panel;
    desktop.axObservers.setAnnounces(editor, false);
    desktop.axObservers.moveWindow(471, {10, 10});
    panel->pollFrame();  // posts the new frame
    PinManager::shared().unpinAll();
    panel.reset();
    EXPECT_TRUE(weak.expired());
    desktop.runUntilIdle();
}

}  // namespace
