#include <gmock/gmock.h>

#include "app/Outfit.h"
#include "platform/sim/SimProgramWindow.h"
#include "settings/Settings.h"
#include "ui/SettingsWindowFixture.h"

namespace {

using SettingsWindowTest = SettingsWindowFixture;
constexpr size_t colorHeading = 3, shortcutHeading = 11;

TEST_F(SettingsWindowTest, FirstShowBuildsAFloatingWindowCentredOnTheVisibleFrame) {
    const auto& window = settings->window;
    ASSERT_NE(window, nullptr);
    // Visible frame (0, 0, 1920, 1055): centre (960, 527.5).
    EXPECT_EQ(window->frame(), (platform::Rect{740, 395.5, 440, 264}));
    EXPECT_EQ(window->level(), platform::Window::floatingLevel);
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, ownPid);

    desktop.screens.clear();  // without a main screen a window stays at the origin
    auto another = std::make_shared<SettingsWindow>();
    another->show();
    EXPECT_EQ(another->window->frame(), (platform::Rect{0, 0, 440, 264}));
}

// Close hides the window; a later show neither rebuilds nor moves it; Quit ends the program.
TEST_F(SettingsWindowTest, LaterShowsNeitherRebuildNorMoveTheWindow) {
    const auto window = settings->window;
    const auto content = window->contentView();
    window->setFrameOrigin({12, 34});
    click(closeButton());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(desktop.currentProcess().terminated);

    settings->show();
    EXPECT_EQ(settings->window, window);
    EXPECT_EQ(window->contentView(), content);
    EXPECT_EQ(window->frame(), (platform::Rect{12, 34, 440, 264}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.ownWindows.all().size(), 1u);
    EXPECT_EQ(desktop.currentProcess().activationsIgnoringOthers, 2);
    click(quitButton());
    EXPECT_TRUE(desktop.findProcess(ownPid)->terminated);
}

TEST_F(SettingsWindowTest, SwitchingLanguageStoresItAndRefreshesEveryText) {
    EXPECT_EQ(heading(shortcutHeading)->stringValue(), "Skr\xC3\xB3t klawiszowy");
    click(english());
    EXPECT_EQ(Settings::language(), "en");
    EXPECT_EQ(heading(colorHeading)->stringValue(), "Border color");
    EXPECT_EQ(heading(shortcutHeading)->stringValue(), "Keyboard shortcut");
    EXPECT_EQ(quitButton()->title(), "Quit");
    EXPECT_EQ(english()->layer()->backgroundColor(), platform::Color::white(0.22));
    EXPECT_EQ(polish()->layer()->backgroundColor(), platform::Color::white(0.08));
    EXPECT_TRUE(english()->layer()->animation("bounce"));
    EXPECT_FALSE(polish()->layer()->animation("bounce"));
    EXPECT_EQ(english()->font(), outfit("Bold", 11));
    EXPECT_EQ(polish()->font(), outfit("SemiBold", 11));

    Settings::setLanguage("pl");  // changed elsewhere: the next show refreshes the texts
    settings->show();
    EXPECT_EQ(heading(colorHeading)->stringValue(), "Kolor ramki");
    EXPECT_EQ(closeButton()->title(), "Zamknij");
    EXPECT_EQ(polish()->font(), outfit("Bold", 11));
}

TEST_F(SettingsWindowTest, TheActiveLanguagesButtonOnlyBounces) {
    heading(colorHeading)->setStringValue("stale");
    click(polish());
    EXPECT_TRUE(polish()->layer()->animation("bounce"));
    EXPECT_EQ(heading(colorHeading)->stringValue(), "stale");  // no refresh
    EXPECT_FALSE(stored(Settings::languageKey));               // nothing written
}

TEST_F(SettingsWindowTest, ControlsOutliveTheirOwnerHarmlessly) {
    const auto quit = quitButton();
    settings.reset();
    click(quit);
    EXPECT_FALSE(desktop.findProcess(ownPid)->terminated);
}

// The menu's settings item: one window, shown again on every choice.
using SettingsMenuTest = LaunchedShellFixture;

TEST_F(SettingsMenuTest, OpensTheSameWindowEveryTime) {
    EXPECT_TRUE(desktop.ownWindows.all().empty());
    std::shared_ptr<sim::SimProgramWindow> first;
    for (int i = 0; i < 3; ++i) {
        openMenu();
        ASSERT_TRUE(desktop.shell.menuBar.choose(ownPid, "Ustawienia\xE2\x80\xA6"));
        std::vector<std::shared_ptr<sim::SimProgramWindow>> found;
        for (const auto& window : desktop.ownWindows.all())
            if (!window->isPanel()) found.push_back(window);
        ASSERT_EQ(found.size(), 1u);
        if (!first) first = found[0];
        EXPECT_EQ(found[0], first);
        EXPECT_TRUE(first->isVisible());
        first->orderOut();
    }
}

}  // namespace
