#include <gmock/gmock.h>

#include <string>

#include "pinning/PinManager.h"
#include "simulate/BuiltinScenario.h"
#include "support/ShellFixture.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using SettingsCommandsTest = ScenarioFixture;
const std::string scene = launchedScene;

TEST_F(SettingsCommandsTest, BuiltInSessionRecordsAShortcutAndRecoloursBothFrames) {
    ASSERT_TRUE(play(builtinScenario)) << errors.str();
    const std::string output = out.str();
    EXPECT_THAT(output, HasSubstr("key control+option+K: swallowed\n"));
    EXPECT_THAT(output, HasSubstr("] hotkey: Register kc=40 mods=6144 err=0\n"));
    EXPECT_THAT(output, HasSubstr("settings: borderColor=66746A keyCode=40 modifiers=0xC0000"));
    EXPECT_THAT(output, HasSubstr("pinned: 2\n"
                                  "  window=601 pid=814 stream=running panel=(1194.0, 74.0, "
                                  "512.0, 412.0) shown radius=8.0/14.0 border=#3DB6A6/1.0 "
                                  "width=8.0\n"
                                  "  window=701 pid=815 stream=running panel=(194.0, 424.0, "
                                  "712.0, 512.0) shown radius=8.0/14.0 border=#3DB6A6/1.0 "
                                  "width=8.0\n"));
    EXPECT_THAT(output, HasSubstr("  selected swatch: 2 Teal\n"));
}

TEST_F(SettingsCommandsTest, DumpShowsTheWindowAsTheUserSeesIt) {
    ASSERT_TRUE(play(scene + R"(settings open
settings press recorder
dump settings-window
)")) << errors.str();
    const std::string output = out.str();
    EXPECT_THAT(output, HasSubstr("settings-window: frame=(740.0, 395.5, 440.0, 264.0) level=3 "
                                  "visible=true key=true\n"
                                  "  label \"Veltrin\" Outfit-Black/20.0 #FFFFFF/1.0\n"));
    EXPECT_THAT(output, HasSubstr("  swatch 6 Brak background=#000000/0.0 "
                                  "border=#FFFFFF/0.25/1.0 animations=[]\n"));
    EXPECT_THAT(output,
                HasSubstr("background=#CC9933/0.9 border=#000000/1.0/0.0 "
                          "animations=[pulse:transform.scale(1.0 1.05 1.0)/0.6 forever]\n"));
    EXPECT_THAT(output, HasSubstr("  selected swatch: none\n"));
}

TEST_F(SettingsCommandsTest, MisusesAreReported) {
    EXPECT_FALSE(play(scene + "dump settings-window\n"));
    EXPECT_THAT(errors.str(), HasSubstr("has not been opened"));
    EXPECT_FALSE(play("settings open\nsettings press swatch 7\n"));
    EXPECT_THAT(errors.str(), HasSubstr("no swatch 7"));
    EXPECT_FALSE(play("settings key hyper+K\n"));
    EXPECT_THAT(errors.str(), HasSubstr("unknown modifier"));
    EXPECT_THAT(out.str(), Not(HasSubstr("key ")));
}

}  // namespace
