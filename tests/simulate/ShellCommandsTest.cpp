#include <gmock/gmock.h>

#include <sstream>

#include "pinning/PinManager.h"
#include "platform/sim/SimPlatform.h"
#include "simulate/ScenarioCommands.h"
#include "support/ShellFixture.h"

namespace {

using ::testing::HasSubstr;

// A scenario on a desktop of its own, as `--simulate` plays it.
class ShellCommandsTest : public ::testing::Test {
protected:
    ShellCommandsTest() {
        HotkeyManagerReset::toFreshInstance();
        platform::install(std::make_unique<sim::SimPlatform>(desktop));
        defineAllCommands(scenario);
    }
    ~ShellCommandsTest() override {
        PinManager::shared().unpinAll();
        desktop.runUntilIdle();
        platform::uninstall();
    }

    bool play(const std::string& script) { return scenario.run(script, errors); }

    sim::SimDesktop desktop;
    std::ostringstream out;
    std::ostringstream errors;
    Scenario scenario{desktop, out};
};

constexpr const char* scene = R"(screen 0 0 1920 1080
app 812 com.example.editor Editor
window 471 812 120 80 800 600
focus 812
permission accessibility on
permission screen-recording on
launch
)";

TEST_F(ShellCommandsTest, MenuDumpsInBothLanguagesAndBothStates) {
    ASSERT_TRUE(play(std::string(scene) + R"(menu open
press-keys option+P
menu open
language en
menu open
press-keys option+P
menu open
)")) << errors.str();
    const std::string polishNothing =
        "  0 \"Przypnij aktywne okno\" enabled key=\xE2\x8C\x98p image=pin\n";
    const std::string polishOne =
        "  0 \"Odepnij przypi\xC4\x99te okno\" enabled key=- image=pin.slash\n";
    const std::string englishOne = "  0 \"Unpin pinned window\" enabled key=- image=pin.slash\n";
    const std::string englishNothing =
        "  0 \"Pin active window\" enabled key=\xE2\x8C\x98p image=pin\n";
    const std::string text = out.str();
    const size_t a = text.find(polishNothing), b = text.find(polishOne), c = text.find(englishOne),
                 d = text.find(englishNothing);
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    ASSERT_NE(c, std::string::npos);
    ASSERT_NE(d, std::string::npos);
    EXPECT_TRUE(a < b && b < c && c < d) << text;
    EXPECT_THAT(text, HasSubstr("  3 \"Nagrywanie ekranu \xE2\x80\x93 Przydzielono\" disabled "
                                "key=- image=record.circle\n"));
    EXPECT_THAT(text, HasSubstr("  7 \"Quit\" enabled key=\xE2\x8C\x98q image=power\n"));
}

TEST_F(ShellCommandsTest, APressWithoutRegistrationIsSaidSo) {
    ASSERT_TRUE(play(std::string(scene) + "press-keys option+shift+Space\n")) << errors.str();
    EXPECT_EQ(out.str(), "press option+shift+Space: no hot key holds it\n");
    EXPECT_TRUE(PinManager::shared().mirrors.empty());
}

TEST_F(ShellCommandsTest, ATakenCombinationMakesTheRecordedShortcutFail) {
    ASSERT_TRUE(play(std::string(scene) + R"(take-combination 12 256
shortcut 12 0x100000
press-keys command+Q
press-keys option+P
)")) << errors.str();
    EXPECT_EQ(out.str(), "press option+P: no hot key holds it\n");
    EXPECT_TRUE(PinManager::shared().mirrors.empty());
}

TEST_F(ShellCommandsTest, ChoosingByTitleAndRefusingDisabledItems) {
    ASSERT_TRUE(play(std::string(scene) + R"(language en
menu open
menu choose "Accessibility – Granted"
menu choose "Pin active window"
)")) << errors.str();
    EXPECT_THAT(out.str(), HasSubstr("menu choose Accessibility \xE2\x80\x93 Granted: no such "
                                     "enabled item\n"));
    EXPECT_EQ(PinManager::shared().mirrors.size(), 1u);
}

TEST_F(ShellCommandsTest, BadWordsFailTheLine) {
    for (const char* line :
         {"press-keys hyper+P\n", "press-keys option+Nope\n", "language de\n", "menu open\n"}) {
        EXPECT_FALSE(play(line)) << line;  // nothing launched: no menu to open
    }
}

}  // namespace
