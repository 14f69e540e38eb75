#include <gmock/gmock.h>

#include "support/ShellFixture.h"

namespace {

using ::testing::HasSubstr;

using ScenarioFaultsTest = ScenarioFixture;
const std::string scene = launchedScene;

// Before any launch: each fails its last line with the reason instead of ending the process.
TEST_F(ScenarioFaultsTest, CommandsForACopyThatDoesNotRunFailTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"shortcut 12 0x100000\n", "line 1: no running copy of the program with pid 4242"},
        {"app 1 a A\nfocus 1\ntoggle\n", "line 3: no copy of the program runs"},
        {"settings open 77\n", "line 1: no running copy of the program with pid 77"},
        {"menu choose 0\n", "line 1: no running copy of the program with pid 4242"},
    };
    for (const auto& [script, reason] : cases) {
        errors.str("");
        EXPECT_FALSE(play(script)) << script;
        EXPECT_THAT(errors.str(), HasSubstr(reason)) << script;
    }
}

TEST_F(ScenarioFaultsTest, ALaunchedCopyIsRequiredByPidToo) {
    ASSERT_TRUE(play(scene)) << errors.str();
    EXPECT_FALSE(play("shortcut 12 0x100000 999\n"));
    EXPECT_THAT(errors.str(), HasSubstr("line 1: no running copy of the program with pid 999"));
}

TEST_F(ScenarioFaultsTest, NumbersThatAreNotFiniteOrOutOfRangeFailTheLine) {
    ASSERT_TRUE(play(scene)) << errors.str();
    const std::pair<const char*, const char*> cases[] = {
        {"wait inf\n", "not a number: \"inf\""},
        {"wait nan\n", "not a number: \"nan\""},
        {"wait -1\n", "out of range 0 to 86400"},
        {"at 1e10 launch 4300\n", "out of range 0 to 86400"},
        {"refresh 3000000000\n", "out of range 0 to 10000"},
        {"window 9 812 0 0 1e20 600\n", "out of range 0 to 100000"},
        {"window 9 812 0 0 -5 600\n", "out of range 0 to 100000"},
        {"window 4294967767 812 0 0 5 5\n", "out of range 0 to 4294967295"},
        {"move 471 1e300 0\n", "out of range -100000 to 100000"},
        {"scale 471 1e300\n", "out of range 0 to 16"},
        {"scale 471 0\n", "a scale must be above 0"},
        {"app 5000000000 a A\n", "out of range 0 to 2147483647"},
        {"take-combination 70000 256\n", "out of range 0 to 65535"},
    };
    for (const auto& [line, reason] : cases) {
        errors.str("");
        EXPECT_FALSE(play(line)) << line;
        EXPECT_THAT(errors.str(), HasSubstr(reason)) << line;
    }
}

TEST_F(ScenarioFaultsTest, TheClockStopsAtOneDay) {
    EXPECT_TRUE(play("wait 86000\n"));
    EXPECT_FALSE(play("wait 401\n"));
    EXPECT_THAT(errors.str(), HasSubstr("the clock stops at 86400 seconds"));
    EXPECT_TRUE(play("at 86400 say end\n")) << errors.str();
}

TEST_F(ScenarioFaultsTest, AFrameTooLargeToPaintFailsTheLine) {
    ASSERT_TRUE(play(scene + "toggle\nframe 471 0\n")) << errors.str();
    ASSERT_TRUE(play("toggle\nscale 471 16\ntoggle\n")) << errors.str();
    EXPECT_FALSE(play("frame 471 0\n"));
    EXPECT_THAT(errors.str(), HasSubstr("the stream of window 471 is too large"));
}

TEST_F(ScenarioFaultsTest, OnlyAHashAtTheStartOfAWordStartsAComment) {
    ASSERT_TRUE(play("say x#y \"q\"#z w # gone\n# all gone\nsay \"#kept\"#\n")) << errors.str();
    EXPECT_EQ(out.str(), "x#y q #z w\n#kept #\n");
}

TEST_F(ScenarioFaultsTest, QuittingACopyFromOutsideIsRefusedAndItKeepsRunning) {
    ASSERT_TRUE(play(scene)) << errors.str();
    EXPECT_FALSE(play("quit 4242\n"));
    EXPECT_THAT(errors.str(), HasSubstr("line 1: pid 4242 is a copy of the program"));
    ASSERT_TRUE(play("dump copies\npress-keys option+P\ndump pinned\n")) << errors.str();
    EXPECT_THAT(out.str(), HasSubstr("running app.veltrin: 4242\npinned: 1\n"));
}

}  // namespace
