#include <gmock/gmock.h>

#include <chrono>

#include "pinning/FrontWindowLookup.h"
#include "pinning/PinFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class FrontWindowLookupTest : public PinFixture {};

TEST_F(FrontWindowLookupTest, FailedFocusedReadFallsBackToTheMainWindow) {
    desktop.axModel.setMainWindow(editor, 472);
    desktop.axModel.setError(editor, "AXFocusedWindow", platform::axErrorAttributeUnsupported);
    PinManager::shared().pin(editor, "Editor");
    EXPECT_THAT(pinnedWindows(), ElementsAre(472u));
    const auto log = logMessages();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1], "frontWindow: AX copyFocused=-25205");
    EXPECT_EQ(log[2], "  frontWindow: _AX getWindow res=0 windowID=472");
}

TEST_F(FrontWindowLookupTest, WithoutFocusedOrMainTheFirstListedWindowIsFoundEvenOffScreen) {
    desktop.axModel.setFocusedWindow(editor, std::nullopt);
    desktop.axModel.setMainWindow(editor, std::nullopt);
    desktop.axModel.setWindows(editor, {472, 471});
    PinManager::shared().pin(editor, "Editor");
    EXPECT_THAT(pinnedWindows(), ElementsAre(472u));
    EXPECT_EQ(logMessages()[1], "frontWindow: AX copyFocused=-25212");
    EXPECT_EQ(logMessages()[3], "pin: window found id=472 size=(300.0, 200.0, 640.0, 480.0)");
}

TEST_F(FrontWindowLookupTest, AFailedMainReadIsNotUsedEvenIfItLeftAValue) {
    desktop.axModel.setFocusedWindow(editor, std::nullopt);
    desktop.axModel.setError(editor, "AXMainWindow", platform::axErrorFailure);
    desktop.axModel.setWindows(editor, {472});
    PinManager::shared().pin(editor, "Editor");
    EXPECT_THAT(pinnedWindows(), ElementsAre(472u));
}

// An application without windows, and every read without the permission.
TEST_F(FrontWindowLookupTest, WithoutAnAccessibilityWindowNothingIsPinned) {
    desktop.addApplication({900, "com.example.empty", "Empty"});
    PinManager::shared().pin(900, "Empty");
    desktop.accessibilityTrusted = false;
    PinManager::shared().pin(editor, "Editor");
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_THAT(logMessages(),
                ElementsAre("pin: pid=900 name=Empty", "frontWindow: AX copyFocused=-25212",
                            "  frontWindow: no axWin", "pin: FRONT WINDOW NIEFOUND",
                            "pin: pid=812 name=Editor", "frontWindow: AX copyFocused=-25211",
                            "  frontWindow: no axWin", "pin: FRONT WINDOW NIEFOUND"));
}

TEST_F(FrontWindowLookupTest, AFailedWindowListGivesNothingWithoutALineOfItsOwn) {
    desktop.screenCaptureAllowed = false;
    PinManager::shared().pin(editor, "Editor");
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_THAT(logMessages(),
                ElementsAre("pin: pid=812 name=Editor", "frontWindow: AX copyFocused=0",
                            "  frontWindow: _AX getWindow res=0 windowID=471",
                            "pin: FRONT WINDOW NIEFOUND"));
}

TEST_F(FrontWindowLookupTest, AWindowListThatNeverComesEndsTheWaitAsNoList) {
    desktop.shareableContentAnswers = false;
    const auto started = std::chrono::steady_clock::now();
    const auto window = frontWindowOf(editor, std::chrono::milliseconds(200));
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(window);
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::seconds(2));
    EXPECT_EQ(logMessages().back(), "  frontWindow: no window list after 0.2 s");
}

// A focused element that is no window (-25201), or no window-number function at launch
// (-25200): no number, nothing pinned.
class WindowNumberTest : public PinFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        desktop.windowNumberFunctionPresent = GetParam();
        launch();
    }
};

TEST_P(WindowNumberTest, AFailedNumberLookupGivesNothing) {
    if (GetParam()) desktop.axModel.setFocusedWindow(editor, 999);  // no such window
    PinManager::shared().pin(editor, "Editor");
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_THAT(logMessages(),
                ElementsAre("pin: pid=812 name=Editor", "frontWindow: AX copyFocused=0",
                            GetParam() ? "  frontWindow: _AX getWindow res=-25201 windowID=0"
                                       : "  frontWindow: _AX getWindow res=-25200 windowID=0",
                            "  frontWindow: no windowID", "pin: FRONT WINDOW NIEFOUND"));
}

INSTANTIATE_TEST_SUITE_P(ElementOrFunction, WindowNumberTest, ::testing::Bool());

}  // namespace
