#include <gmock/gmock.h>

#include "app/Outfit.h"
#include "platform/sim/SimProgramWindow.h"
#include "settings/Settings.h"
#include "ui/SettingsWindowFixture.h"

namespace {

using SettingsWindowTest = SettingsWindowFixture;

TEST_F(SettingsWindowTest, FirstShowBuildsAFloatingWindowCentredOnTheVisibleFrame) {
    const auto& window = settings->window;
    ASSERT_NE(window, nullptr);
    // Visible frame (0, 0, 1920, 1055): centre (960, 527.5).
    EXPECT_EQ(window->frame(), (platform::Rect{740, 395.5, 440, 264}));
    EXPECT_EQ(window->level(), platform::Window::floatingLevel);
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, ownPid);
}

TEST_F(SettingsWindowTest, WithoutAMainScreenTheWindowStaysAtTheOrigin) {
    desktop.screens.clear();
    auto another = std::make_shared<SettingsWindow>();
    another->show();
    EXPECT_EQ(another->window->frame(), (platform::Rect{0, 0, 440, 264}));
}

TEST_F(SettingsWindowTest, LaterShowsNeitherRebuildNorMoveTheWindow) {
    const auto window = settings->window;
    const auto content = window->contentView();
    window->setFrameOrigin({12, 34});
    click(closeButton());
    EXPECT_FALSE(window->isVisible());

    settings->show();
    EXPECT_EQ(settings->window, window);
    EXPECT_EQ(window->contentView(), content);
    EXPECT_EQ(window->frame(), (platform::Rect{12, 34, 440, 264}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.ownWindows.all().size(), 1u);
    EXPECT_EQ(desktop.currentProcess().activationsIgnoringOthers, 2);
}

TEST_F(SettingsWindowTest, ShowRefreshesTextsChangedElsewhere) {
    Settings::setLanguage("en");
    settings->show();
    EXPECT_EQ(colorHeading()->stringValue(), "Border color");
    EXPECT_EQ(closeButton()->title(), "Close");
    EXPECT_EQ(english()->font(), outfit("Bold", 11));
    EXPECT_EQ(polish()->font(), outfit("SemiBold", 11));
}

TEST_F(SettingsWindowTest, SwitchingLanguageStoresItAndRefreshesEveryText) {
    EXPECT_EQ(shortcutHeading()->stringValue(), "Skr\xC3\xB3t klawiszowy");
    click(english());
    EXPECT_EQ(Settings::language(), "en");
    EXPECT_EQ(colorHeading()->stringValue(), "Border color");
    EXPECT_EQ(shortcutHeading()->stringValue(), "Keyboard shortcut");
    EXPECT_EQ(quitButton()->title(), "Quit");
    EXPECT_EQ(english()->layer()->backgroundColor(), platform::Color::white(0.22));
    EXPECT_EQ(polish()->layer()->backgroundColor(), platform::Color::white(0.08));
    EXPECT_TRUE(english()->layer()->animation("bounce"));
    EXPECT_FALSE(polish()->layer()->animation("bounce"));
}

TEST_F(SettingsWindowTest, TheActiveLanguagesButtonOnlyBounces) {
    colorHeading()->setStringValue("stale");
    click(polish());
    EXPECT_TRUE(polish()->layer()->animation("bounce"));
    EXPECT_EQ(colorHeading()->stringValue(), "stale");  // no refresh
    EXPECT_FALSE(stored(Settings::languageKey));        // nothing written
}

TEST_F(SettingsWindowTest, CloseHidesTheWindowAndQuitEndsTheProgram) {
    click(closeButton());
    EXPECT_FALSE(settings->window->isVisible());
    EXPECT_FALSE(desktop.currentProcess().terminated);
    click(quitButton());
    EXPECT_TRUE(desktop.findProcess(ownPid)->terminated);
}

TEST_F(SettingsWindowTest, ControlsOutliveTheirOwnerHarmlessly) {
    const auto quit = quitButton();
    settings.reset();
    click(quit);
    EXPECT_FALSE(desktop.findProcess(ownPid)->terminated);
}

// The menu's settings item: one window, shown again on every choice.
class SettingsMenuTest : public LaunchedShellFixture {
protected:
    std::vector<std::shared_ptr<sim::SimProgramWindow>> settingsWindows() const {
        std::vector<std::shared_ptr<sim::SimProgramWindow>> found;
        for (const auto& window : desktop.ownWindows.all())
            if (!window->isPanel()) found.push_back(window);
        return found;
    }
    void chooseSettings() {
        openMenu();
        ASSERT_TRUE(desktop.shell.menuBar.choose(ownPid, "Ustawienia\xE2\x80\xA6"));
    }
};

TEST_F(SettingsMenuTest, OpensTheSameWindowEveryTime) {
    EXPECT_TRUE(settingsWindows().empty());
    chooseSettings();
    const auto first = settingsWindows();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(first[0]->isVisible());

    first[0]->orderOut();
    chooseSettings();
    chooseSettings();
    const auto later = settingsWindows();
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0], first[0]);
    EXPECT_TRUE(later[0]->isVisible());
}

}  // namespace
