#include <gmock/gmock.h>

#include "pinning/PinFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class PinManagerTest : public PinFixture {};

TEST_F(PinManagerTest, SecondPressUnpinsEvenAfterFocusMovedToAnotherWindowOfTheApp) {
    toggle();
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    EXPECT_THAT(logMessages(),
                ElementsAre("toggle front app=Editor pid=812", "pin: pid=812 name=Editor",
                            "frontWindow: AX copyFocused=0",
                            "  frontWindow: _AX getWindow res=0 windowID=471",
                            "pin: window found id=471 size=(120.0, 80.0, 800.0, 600.0)",
                            "mirror: capture OK"));
    clearLog();
    desktop.axModel.setFocusedWindow(editor, 472);
    toggle();
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_THAT(logMessages(), ElementsAre("toggle front app=Editor pid=812"));
}

TEST_F(PinManagerTest, PressWhileThisProgramOrNothingIsInFrontOnlyLogs) {
    desktop.setFrontmost(ownPid);
    toggle();
    desktop.setFrontmost(std::nullopt);
    toggle();
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_THAT(logMessages(), ElementsAre("toggleSELF: front=nowVeltrin meis.own",
                                           "toggleSELF: front=nownil meis.own"));
}

TEST_F(PinManagerTest, AnApplicationWithoutNameIsLoggedAndPinnedAsQuestionMark) {
    desktop.addApplication({900, "com.example.nameless", std::nullopt});
    desktop.addWindow({901, 900, {0, 0, 300, 200}, true});
    desktop.setFrontmost(900);
    toggle();
    EXPECT_THAT(pinnedWindows(), ElementsAre(901u));
    const auto log = logMessages();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "toggle front app=? pid=900");
    EXPECT_EQ(log[1], "pin: pid=900 name=?");
}

// Another program's name can be as long as it likes; its log lines stay short.
TEST_F(PinManagerTest, AHugeApplicationNameIsCutInItsLogLines) {
    const std::string huge(100000, 'N');
    desktop.addApplication({900, "com.example.huge", huge});
    desktop.addWindow({901, 900, {0, 0, 300, 200}, true});
    desktop.setFrontmost(900);
    toggle();
    EXPECT_THAT(pinnedWindows(), ElementsAre(901u));
    const std::string cut = std::string(logValueLimit, 'N') + "…";
    const auto log = logMessages();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "toggle front app=" + cut + " pid=900");
    EXPECT_EQ(log[1], "pin: pid=900 name=" + cut);
}

TEST_F(PinManagerTest, PinningAPinnedWindowAgainStopsAfterTheFoundLine) {
    int changes = 0;
    PinManager::shared().onPinChanged = [&changes] { ++changes; };
    PinManager::shared().pin(editor, "Editor");
    desktop.runUntilIdle();
    clearLog();
    PinManager::shared().pin(editor, "Editor");
    desktop.runUntilIdle();
    EXPECT_EQ(changes, 1);
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    EXPECT_THAT(logMessages(),
                ElementsAre("pin: pid=812 name=Editor", "frontWindow: AX copyFocused=0",
                            "  frontWindow: _AX getWindow res=0 windowID=471",
                            "pin: window found id=471 size=(120.0, 80.0, 800.0, 600.0)"));
}

// Unpinning an unknown number changes nothing and does not call back; unpinAll always does.
TEST_F(PinManagerTest, UnpinningTheMiddleOfThreeKeepsOrderAndUnpinAllStopsEveryStream) {
    desktop.addApplication({814, "com.example.mail", "Mail"});
    desktop.addWindow({530, 814, {10, 10, 400, 300}, true});
    for (int32_t pid : {editor, browser, 814})
        PinManager::shared().pin(pid, "app");
    desktop.runUntilIdle();
    ASSERT_THAT(pinnedWindows(), ElementsAre(471u, 501u, 530u));
    int changes = 0;
    PinManager::shared().onPinChanged = [&changes] { ++changes; };
    PinManager::shared().unpin(501);
    PinManager::shared().unpin(501);
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u, 530u));
    EXPECT_EQ(changes, 1);
    PinManager::shared().unpinAll();
    desktop.runUntilIdle();
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    for (uint32_t window : {471u, 501u, 530u})
        EXPECT_EQ(desktop.captureModel.latestStream(window)->state(),
                  sim::SimStream::State::stopped);
    PinManager::shared().unpinAll();
    EXPECT_EQ(changes, 3);
}

// A panel whose capture could not start stays pinned, stopped; the next press unpins it.
class FailedStartTest : public PinManagerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FailedStartTest, StaysListedUntilTheNextToggle) {
    const platform::PlatformError error{-3801, "declined"};
    if (std::string(GetParam()) == "start") {
        desktop.captureModel.setStartError(471, error);
    } else {
        desktop.captureModel.setAddOutputError(471, error);
    }
    toggle();
    EXPECT_EQ(logMessages().back(), "mirror: capture ERROR declined");
    ASSERT_THAT(pinnedWindows(), ElementsAre(471u));
    EXPECT_EQ(PinManager::shared().mirrors[0]->capture()->stream(), nullptr);
    EXPECT_EQ(desktop.captureModel.latestStream(471)->state(), sim::SimStream::State::stopped);
    clearLog();
    toggle();
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_THAT(logMessages(), ElementsAre("toggle front app=Editor pid=812"));
}

INSTANTIATE_TEST_SUITE_P(StartOrAddOutput, FailedStartTest, ::testing::Values("start", "output"));

TEST_F(PinManagerTest, QuittingAnApplicationUnpinsEachOfItsWindowsInListOrder) {
    PinManager::shared().pin(editor, "Editor");
    PinManager::shared().pin(browser, "Browser");
    desktop.axModel.setFocusedWindow(editor, 472);
    PinManager::shared().pin(editor, "Editor");
    desktop.runUntilIdle();
    ASSERT_THAT(pinnedWindows(), ElementsAre(471u, 501u, 472u));
    std::vector<std::vector<uint32_t>> seen;
    PinManager::shared().onPinChanged = [&seen] { seen.push_back(pinnedWindows()); };
    desktop.quitApplication(editor);
    desktop.runUntilIdle();
    EXPECT_THAT(seen, ElementsAre(ElementsAre(501u, 472u), ElementsAre(501u)));
}

// Absent identifiers match each other: a window without owner, and one of an application
// without identifier, go with any application without identifier.
TEST_F(PinManagerTest, QuittingAnApplicationWithoutIdentifierUnpinsWindowsWithoutOne) {
    desktop.addApplication({820, std::nullopt, "Tool"});
    desktop.addApplication({821, std::nullopt, "Helper"});
    desktop.addWindow({600, 0, {0, 0, 200, 100}, true});  // no owning application
    desktop.addWindow({610, 821, {0, 0, 200, 100}, true});
    desktop.axModel.setFocusedWindow(820, 600);
    for (int32_t pid : {editor, 820, 821})
        PinManager::shared().pin(pid, "app");
    desktop.runUntilIdle();
    ASSERT_THAT(pinnedWindows(), ElementsAre(471u, 600u, 610u));
    EXPECT_EQ(PinManager::shared().mirrors[1]->pid(), 0);
    desktop.quitApplication(820);
    desktop.runUntilIdle();
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    desktop.quitApplication(browser);  // has an identifier, owns nothing pinned
    desktop.runUntilIdle();
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
}

class SelfTestTest : public PinFixture {
protected:
    void SetUp() override {
        desktop.currentProcess().environment["QUELM_PIN_TEST"] = "1";
        launch();
    }
};

TEST_F(SelfTestTest, TogglesTwoSecondsAfterLaunch) {
    desktop.advance(1.9);
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    desktop.advance(0.2);
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    const auto log = logMessages();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "SELFTEST trigger");
    EXPECT_EQ(log[1], "toggle front app=Editor pid=812");
}

}  // namespace
