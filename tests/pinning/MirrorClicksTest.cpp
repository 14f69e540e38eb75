#include <gmock/gmock.h>

#include "pinning/MirrorFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The editor's window 471 is pinned: its panel covers x 114..926 and, from the top of the
// 1080-high display, y 74..686. The browser is in front when the press comes.
class MirrorClicksTest : public MirrorFixture {
protected:
    void SetUp() override {
        MirrorFixture::SetUp();
        panel = pinEditor();
        ASSERT_NE(panel, nullptr);
        desktop.setFrontmost(browser);
        clearLog();
    }

    std::vector<std::string> requests() const {
        std::vector<std::string> names;
        for (const auto& request : desktop.axModel.requests())
            names.push_back(request.name + " " + std::to_string(request.element.window) + " " +
                            std::to_string(request.result));
        return names;
    }

    std::shared_ptr<MirrorPanel> panel;
};

TEST_F(MirrorClicksTest, APressInsideRaisesTheRealWindowAndPassesUnchanged) {
    const auto delivery = desktop.eventTaps.mousePress({500, 400});
    EXPECT_TRUE(delivery.passedUnchanged);
    EXPECT_THAT(logMessages(),
                ElementsAre("tap: click on pinned area at (500.0, 680.0), raising real window",
                            "raise: activating Editor ok=true", "raise: frontmost res=0",
                            "raise: raise res=0"));
    EXPECT_THAT(desktop.activations, ElementsAre(editor));
    EXPECT_THAT(requests(), ElementsAre("AXFrontmost 0 0", "AXRaise 471 0"));
    EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, editor);
}

TEST_F(MirrorClicksTest, APressOnTheColouredMarginCountsAsInside) {
    desktop.eventTaps.mousePress({114, 80});  // left margin
    desktop.setFrontmost(browser);
    desktop.eventTaps.mousePress({925.5, 685.5});  // bottom-right corner of the margin
    EXPECT_THAT(desktop.activations, ElementsAre(editor, editor));
}

TEST_F(MirrorClicksTest, PressesOutsideReleasesAndPressesWhileFrontDoNothing) {
    EXPECT_TRUE(desktop.eventTaps.mousePress({113.5, 400}).passedUnchanged);
    desktop.eventTaps.mousePress({926, 400});  // the right edge is outside
    desktop.eventTaps.mousePress({500, 73.5});
    EXPECT_TRUE(desktop.eventTaps.mouseRelease({500, 400}).passedUnchanged);
    desktop.setFrontmost(editor);
    desktop.eventTaps.mousePress({500, 400});
    EXPECT_THAT(logMessages(), IsEmpty());
    EXPECT_THAT(desktop.activations, IsEmpty());
    EXPECT_THAT(requests(), IsEmpty());
}

TEST_F(MirrorClicksTest, WithoutAnAccessibilityWindowOnlyTheApplicationIsRaised) {
    desktop.axModel.setWindows(editor, {472});
    desktop.eventTaps.mousePress({500, 400});
    EXPECT_THAT(logMessages(),
                ElementsAre("tap: click on pinned area at (500.0, 680.0), raising real window",
                            "raise: activating Editor ok=true", "raise: frontmost res=0",
                            "raise: no axWin"));
}

TEST_F(MirrorClicksTest, FailedRaisingStepsAreLoggedAndTheRestStillRun) {
    desktop.findApp(editor)->acceptsActivation = false;
    desktop.axModel.setError(editor, "AXFrontmost", platform::axErrorFailure);
    desktop.axModel.setError(editor, "AXRaise", platform::axErrorIllegalArgument);
    panel->raiseRealWindow();
    EXPECT_THAT(logMessages(),
                ElementsAre("raise: activating Editor ok=false", "raise: frontmost res=-25200",
                            "raise: raise res=-25201"));
}

// Of several copies of the editor the one owning the window is activated, else the first.
TEST_F(MirrorClicksTest, OfSeveralInstancesTheOneOwningTheWindowIsActivated) {
    desktop.quitApplication(editor);
    desktop.runUntilIdle();  // the watch unpins the editor's window
    desktop.addApplication({820, "com.example.editor", "Editor One"});
    desktop.addApplication({821, "com.example.editor", "Editor Two"});
    desktop.addWindow({490, 821, {120, 80, 800, 600}, true});
    desktop.setFrontmost(821);
    panel = pinEditor();
    ASSERT_NE(panel, nullptr);
    clearLog();
    panel->raiseRealWindow();
    EXPECT_EQ(logMessages().front(), "raise: activating Editor Two ok=true");
    desktop.quitApplication(821);  // the owner is gone: the first copy
    panel->raiseRealWindow();
    EXPECT_THAT(desktop.activations, ElementsAre(821, 820));
    EXPECT_THAT(logMessages(), ::testing::Contains("raise: activating Editor One ok=true"));
}

TEST_F(MirrorClicksTest, WithoutARunningOwnerNothingIsRaised) {
    const auto ownerless = MirrorPanel::create({480, {0, 0, 300, 200}, std::nullopt, true});
    ownerless->raiseRealWindow();
    desktop.quitApplication(editor);
    panel->raiseRealWindow();
    EXPECT_THAT(logMessages(), ElementsAre("raise: no running app for pid=0",
                                           "raise: no running app for pid=812"));
    EXPECT_THAT(desktop.activations, IsEmpty());
}

TEST_F(MirrorClicksTest, WithoutThePermissionNoTapIsMadeAndThePanelWorksOn) {
    PinManager::shared().unpinAll();
    desktop.accessibilityTrusted = false;
    desktop.axModel.setFocusedWindow(editor, 471);
    // The lookup needs the permission; pin the window found earlier directly.
    auto lone = MirrorPanel::create(panel->scWindow());
    PinManager::shared().mirrors.push_back(lone);
    lone->start();
    desktop.runUntilIdle();
    EXPECT_THAT(logMessages(), ElementsAre("mirror: capture OK",
                                           "tap: create FAILED (no accessibility permission?)"));
    EXPECT_EQ(desktop.displayLinks.all().size(), 1u);
    desktop.setFrontmost(browser);
    desktop.eventTaps.mousePress({500, 400});
    EXPECT_THAT(desktop.activations, IsEmpty());
}

TEST_F(MirrorClicksTest, TwoOverlappingPanelsEachHandleThePress) {
    desktop.addApplication({840, "com.example.notes", "Notes"});
    desktop.addWindow({610, 840, {400, 300, 300, 200}, true});
    desktop.setFrontmost(840);
    ASSERT_NE(pinEditor(), nullptr);
    desktop.setFrontmost(browser);
    clearLog();
    const auto delivery = desktop.eventTaps.mousePress({500, 400});
    EXPECT_EQ(delivery.tapsReached, 2);
    EXPECT_TRUE(delivery.passedUnchanged);
    EXPECT_THAT(desktop.activations, ElementsAre(editor, 840));
}

}  // namespace
