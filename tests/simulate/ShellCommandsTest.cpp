#include <gmock/gmock.h>

#include "pinning/PinManager.h"
#include "support/ShellFixture.h"

namespace {

using ::testing::HasSubstr;

using ShellCommandsTest = ScenarioFixture;
const std::string scene = launchedScene;

TEST_F(ShellCommandsTest, MenuDumpsInBothLanguagesAndBothStates) {
    ASSERT_TRUE(play(scene + R"(menu open
press-keys option+P
menu open
language en
menu open
press-keys option+P
menu open
)")) << errors.str();
    // Polish nothing pinned, one pinned; then English one pinned, nothing pinned.
    const std::string text = out.str();
    size_t previous = 0;
    for (const char* line :
         {"  0 \"Przypnij aktywne okno\" enabled key=\xE2\x8C\x98p image=pin\n",
          "  0 \"Odepnij przypi\xC4\x99te okno\" enabled key=- image=pin.slash\n",
          "  0 \"Unpin pinned window\" enabled key=- image=pin.slash\n",
          "  0 \"Pin active window\" enabled key=\xE2\x8C\x98p image=pin\n"}) {
        const size_t at = text.find(line, previous);
        ASSERT_NE(at, std::string::npos) << line << text;
        previous = at + 1;
    }
    EXPECT_THAT(text, HasSubstr("  3 \"Nagrywanie ekranu \xE2\x80\x93 Przydzielono\" disabled "
                                "key=- image=record.circle\n"));
    EXPECT_THAT(text, HasSubstr("  7 \"Quit\" enabled key=\xE2\x8C\x98q image=power\n"));
}

TEST_F(ShellCommandsTest, ATakenCombinationMakesTheRecordedShortcutFail) {
    ASSERT_TRUE(play(scene + R"(take-combination 12 256
shortcut 12 0x100000
press-keys command+Q
press-keys option+P
press-keys option+shift+Space
)")) << errors.str();
    EXPECT_EQ(
        out.str(),
        "press option+P: no hot key holds it\npress option+shift+Space: no hot key holds it\n");
    EXPECT_TRUE(PinManager::shared().mirrors.empty());
}

// A copy that quits from its menu leaves nothing behind, so a copy launched later gets the
// shortcut, the tray and the pins of its own.
TEST_F(ShellCommandsTest, ACopyThatQuitsLetsGoOfEverythingAndTheNextCopyStartsClean) {
    ASSERT_TRUE(play(scene + R"(press-keys option+P
settings open
menu open
menu choose 7
dump copies
press-keys option+P
)")) << errors.str();
    EXPECT_THAT(out.str(),
                HasSubstr("running app.veltrin:\npress option+P: no hot key holds it\n"));
    EXPECT_TRUE(desktop.ownWindows.all().empty());
    EXPECT_EQ(desktop.shell.menuBar.itemOf(4242), nullptr);
    EXPECT_TRUE(desktop.shell.hotKeys.registrationsOf(4242).empty());
    EXPECT_EQ(desktop.shell.hotKeys.handlerCount(4242), 0u);
    EXPECT_TRUE(PinManager::shared().mirrors.empty());
    out.str("");
    ASSERT_TRUE(play("launch 4243\nfocus 812\npress-keys option+P\nmenu open 4243\ndump log\n"))
        << errors.str();
    EXPECT_EQ(desktop.shell.hotKeys.registrationsOf(4243).size(), 1u);
    EXPECT_EQ(PinManager::shared().mirrors.size(), 1u);
    EXPECT_THAT(out.str(), HasSubstr("Odepnij"));  // the new copy's menu knows its pin
    const std::string log = out.str();
    EXPECT_EQ(log.find("err=-9878"), std::string::npos) << log;
}

TEST_F(ShellCommandsTest, ChoosingByTitleAndRefusingDisabledItems) {
    ASSERT_TRUE(play(scene + R"(language en
menu open
menu choose "Accessibility – Granted"
menu choose "Pin active window"
)")) << errors.str();
    EXPECT_THAT(out.str(), HasSubstr("menu choose Accessibility \xE2\x80\x93 Granted: no such "
                                     "enabled item\n"));
    EXPECT_EQ(PinManager::shared().mirrors.size(), 1u);
}

TEST_F(ShellCommandsTest, BadWordsFailTheLineWithTheirReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"press-keys hyper+P\n", "unknown modifier \"hyper\""},
        {"press-keys option+Nope\n", "unknown key \"Nope\""},
        {"language de\n", "language en or pl"},
        {"menu open\n", "no running copy of the program with pid 4242"},
    };
    for (const auto& [line, reason] : cases) {
        errors.str("");
        EXPECT_FALSE(play(line)) << line;
        EXPECT_THAT(errors.str(), HasSubstr(reason)) << line;
    }
}

}  // namespace
