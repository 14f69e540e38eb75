#include <gmock/gmock.h>

#include "app/AppDelegate.h"
#include "platform/sim/SimImage.h"
#include "settings/Settings.h"
#include "support/LaunchedShellFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* accessibilityPage =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";
constexpr const char* screenRecordingPage =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_ScreenCapture";

class StatusMenuTest : public LaunchedShellFixture {
protected:
    std::shared_ptr<platform::Menu> menu() { return desktop.shell.menuBar.itemOf(ownPid)->menu; }
    bool choose(size_t index) { return desktop.shell.menuBar.choose(ownPid, index); }
};

TEST_F(StatusMenuTest, NothingPinnedInPolishWithBothPermissions) {
    EXPECT_THAT(
        openMenu(),
        ElementsAre("\"Przypnij aktywne okno\" enabled key=\xE2\x8C\x98p image=pin", "---",
                    "\"Dost\xC4\x99pno\xC5\x9B\xC4\x87 \xE2\x80\x93 Przydzielono\" "
                    "disabled key=- image=accessibility",
                    "\"Nagrywanie ekranu \xE2\x80\x93 Przydzielono\" disabled key=- "
                    "image=record.circle",
                    "---", "\"Ustawienia\xE2\x80\xA6\" enabled key=\xE2\x8C\x98, image=gearshape",
                    "---", "\"Wyj\xC5\x9B\x63ie\" enabled key=\xE2\x8C\x98q image=power"));
}

TEST_F(StatusMenuTest, ItemsAimAtTheDelegateExceptQuitAndCarryTemplateSymbols) {
    openMenu();
    const auto& items = menu()->items();
    ASSERT_EQ(items.size(), 8u);
    const void* delegate = items[0]->target;
    EXPECT_NE(delegate, nullptr);
    for (size_t i : {2u, 3u, 5u})
        EXPECT_EQ(items[i]->target, delegate) << i;
    EXPECT_EQ(items[7]->target, nullptr);
    for (size_t i : {0u, 2u, 3u, 5u, 7u})
        EXPECT_TRUE(items[i]->image->isTemplate()) << i;
    EXPECT_FALSE(std::dynamic_pointer_cast<sim::SimImage>(items[0]->image)
                     ->accessibilityDescription.has_value());
    EXPECT_TRUE(desktop.shell.menuBar.choose(ownPid, "Wyj\xC5\x9B\x63ie"));  // quit
    EXPECT_TRUE(desktop.findProcess(ownPid)->terminated);
}

TEST_F(StatusMenuTest, ThreePinnedOffersUnpinAllInEitherLanguage) {
    toggle();
    desktop.setFrontmost(browser);
    toggle();
    desktop.addApplication({820, "com.example.notes", "Notes"});
    desktop.addWindow({821, 820, {10, 10, 300, 300}, true});
    desktop.setFrontmost(820);
    toggle();
    ASSERT_THAT(pinnedWindows(), ElementsAre(471u, 501u, 821u));
    EXPECT_EQ(openMenu().at(0), "\"Odepnij 3 okna\" enabled key=- image=pin.slash");
    Settings::setLanguage("en");
    EXPECT_EQ(openMenu().at(0), "\"Unpin 3 windows\" enabled key=- image=pin.slash");
    EXPECT_TRUE(choose(0));
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_EQ(openMenu().at(0), "\"Pin active window\" enabled key=\xE2\x8C\x98p image=pin");
}

TEST_F(StatusMenuTest, LanguageSwitchedBetweenTwoOpenings) {
    desktop.accessibilityTrusted = false;
    desktop.screenCaptureAllowed = false;
    const auto polish = openMenu();
    Settings::setLanguage("en");
    EXPECT_THAT(
        openMenu(),
        ElementsAre("\"Pin active window\" enabled key=\xE2\x8C\x98p image=pin", "---",
                    "\"Accessibility \xE2\x80\x93 Not Granted\" enabled key=- "
                    "image=accessibility",
                    "\"Screen Recording \xE2\x80\x93 Not Granted\" enabled key=- "
                    "image=record.circle",
                    "---", "\"Settings\xE2\x80\xA6\" enabled key=\xE2\x8C\x98, image=gearshape",
                    "---", "\"Quit\" enabled key=\xE2\x8C\x98q image=power"));
    EXPECT_EQ(polish.at(2),
              "\"Dost\xC4\x99pno\xC5\x9B\xC4\x87 \xE2\x80\x93 Nie przydzielono\" enabled key=- "
              "image=accessibility");
}

// A granted item is disabled; the other prompts (accessibility) and opens its page.
TEST_F(StatusMenuTest, PermissionItemsOpenTheirPagesOnlyWhenNotGranted) {
    desktop.screenCaptureAllowed = false;
    openMenu();
    EXPECT_FALSE(choose(2));  // disabled: it has no action
    EXPECT_TRUE(choose(3));
    EXPECT_THAT(desktop.openedURLs, ElementsAre(screenRecordingPage));
    EXPECT_EQ(desktop.accessibilityPrompts, 0);
    desktop.accessibilityTrusted = false;
    openMenu();
    EXPECT_TRUE(choose(2));
    EXPECT_EQ(desktop.accessibilityPrompts, 1);
    EXPECT_THAT(desktop.openedURLs, ElementsAre(screenRecordingPage, accessibilityPage));
}

// Where no settings page grants a permission, its item opens a message in the menu's language
// that says what to do, each time it is chosen.
TEST_F(StatusMenuTest, WithoutASettingsPageAPermissionItemSaysWhatToDo) {
    using Kind = platform::PermissionRemedy::Kind;
    desktop.accessibilityTrusted = false;
    desktop.accessibilityRemedy = platform::PermissionRemedy::of(Kind::windowManager);
    desktop.screenCaptureRemedy = platform::PermissionRemedy::of(Kind::serverExtensions, "MIT-SHM");
    openMenu();
    EXPECT_TRUE(choose(2));
    EXPECT_FALSE(choose(3));  // granted
    desktop.screenCaptureAllowed = false;
    Settings::setLanguage("en");
    openMenu();
    EXPECT_TRUE(choose(3));
    EXPECT_TRUE(choose(2));
    EXPECT_THAT(desktop.openedURLs, IsEmpty());
    EXPECT_EQ(desktop.accessibilityPrompts, 2);
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[0].title,
              "Dost\xC4\x99pno\xC5\x9B\xC4\x87 \xE2\x80\x93 Nie przydzielono");
    EXPECT_EQ(desktop.messages[0].text.rfind("Veltrin znajduje", 0), 0u)
        << desktop.messages[0].text;
    EXPECT_EQ(desktop.messages[0].buttonTitle, "Zamknij");
    EXPECT_EQ(desktop.messages[1].title, "Screen Recording \xE2\x80\x93 Not Granted");
    EXPECT_NE(desktop.messages[1].text.find("lacks what window pictures need: MIT-SHM"),
              std::string::npos)
        << desktop.messages[1].text;
    EXPECT_EQ(desktop.messages[1].buttonTitle, "Close");
    EXPECT_EQ(desktop.messages[2].text.rfind("Veltrin finds", 0), 0u) << desktop.messages[2].text;
}

TEST_F(StatusMenuTest, ThePinItemPinsTheFrontmostApplicationButNeverThisProgram) {
    desktop.setFrontmost(ownPid);
    openMenu();
    EXPECT_TRUE(choose(0));
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_THAT(logMessages(), IsEmpty());
    desktop.setFrontmost(std::nullopt);
    EXPECT_TRUE(choose(0));
    EXPECT_THAT(logMessages(), IsEmpty());
    desktop.setFrontmost(editor);
    EXPECT_TRUE(choose(0));
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    EXPECT_EQ(logMessages().at(0), "pin: pid=812 name=Editor");  // pin, not toggle
    desktop.addApplication({900, "com.example.nameless", std::nullopt});
    desktop.addWindow({901, 900, {0, 0, 300, 200}, true});
    desktop.setFrontmost(900);
    clearLog();
    EXPECT_TRUE(choose(0));
    EXPECT_EQ(logMessages().at(0), "pin: pid=900 name=?");
}

TEST_F(StatusMenuTest, AMissingSymbolLeavesOnlyThatItemWithoutImage) {
    desktop.shell.images.symbols.erase("gearshape");
    const auto lines = openMenu();
    EXPECT_EQ(lines.at(5), "\"Ustawienia\xE2\x80\xA6\" enabled key=\xE2\x8C\x98, image=-");
    EXPECT_EQ(lines.at(0), "\"Przypnij aktywne okno\" enabled key=\xE2\x8C\x98p image=pin");
}

// Set-up of the status item itself, with and without what it falls back on.
class StatusItemTest : public ShellFixture {
protected:
    std::shared_ptr<sim::SimStatusItem> setUp() {
        delegate.setUpStatusItem();
        return desktop.shell.menuBar.itemOf(ownPid);
    }
    AppDelegate delegate;
};

TEST_F(StatusItemTest, ThePinSymbolAsATemplateWithToolTipAndMenu) {
    const auto item = setUp();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->length, -2);
    const auto* button = item->simButton();
    const auto image = std::dynamic_pointer_cast<sim::SimImage>(button->image);
    EXPECT_EQ(image->name(), "pin");
    EXPECT_EQ(image->accessibilityDescription, "Pin active window");
    EXPECT_TRUE(image->isTemplate());
    EXPECT_EQ(button->imagePosition, 1);
    EXPECT_EQ(button->toolTip, "Veltrin");
    EXPECT_EQ(button->title, "");
    ASSERT_TRUE(item->menu);
    EXPECT_EQ(item->menu->delegate(), &delegate);
    EXPECT_THAT(item->menu->items(), IsEmpty());  // filled only when it opens
}

TEST_F(StatusItemTest, WithoutThePinSymbolTheIconStandsIn) {
    desktop.shell.images.symbols.erase("pin");
    const auto item = setUp();
    const auto image = std::dynamic_pointer_cast<sim::SimImage>(item->simButton()->image);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (platform::Size{17, 17}));
    EXPECT_TRUE(image->isTemplate());
    EXPECT_TRUE(item->menu);
}

// The pushpin stands in for the picture; the menu stays, or nothing could quit the program.
TEST_F(StatusItemTest, NoSymbolAndNoIconShowsThePushpinWithItsMenu) {
    desktop.shell.images.symbols.erase("pin");
    desktop.shell.resourcesDirectory.reset();
    const auto item = setUp();
    EXPECT_EQ(item->simButton()->title, "\xF0\x9F\x93\x8C");
    EXPECT_EQ(item->simButton()->image, nullptr);
    const auto menu = desktop.shell.menuBar.openMenu(ownPid);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->items().size(), 8u);
}

TEST_F(StatusItemTest, NoButtonLeavesTheItemEmpty) {
    desktop.shell.menuBar.itemsHaveButtons = false;
    const auto item = setUp();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->simButton(), nullptr);
    EXPECT_EQ(item->menu, nullptr);
}

}  // namespace
