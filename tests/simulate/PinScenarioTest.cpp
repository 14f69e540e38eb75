#include <gmock/gmock.h>

#include <sstream>
#include <string>

#include "pinning/PinManager.h"
#include "platform/sim/SimPlatform.h"
#include "simulate/BuiltinScenario.h"
#include "simulate/ScenarioCommands.h"

using ::testing::HasSubstr;

namespace {

// Plays a script on a fresh desktop; the launch inside it starts the program copy.
class PinScenarioTest : public ::testing::Test {
protected:
    PinScenarioTest() {
        MirrorPanel::forgetScreenFrame();  // each desktop is a fresh process
        platform::install(std::make_unique<sim::SimPlatform>(desktop));
    }
    ~PinScenarioTest() override {
        PinManager::shared().unpinAll();
        desktop.runUntilIdle();
        platform::uninstall();
    }

    std::string play(const std::string& script) {
        Scenario scenario(desktop, out);
        defineAllCommands(scenario);
        std::ostringstream errors;
        EXPECT_TRUE(scenario.run(script, errors)) << errors.str();
        return out.str();
    }

    sim::SimDesktop desktop;
    std::ostringstream out;
};

TEST_F(PinScenarioTest, BuiltInSessionShowsTheWholePinRoad) {
    const std::string output = play(builtinScenario);
    for (const char* part :
         {"SELFTEST trigger\n", "pin: window found id=471 size=(120.0, 80.0, 800.0, 600.0)\n",
          "pinned: 1\n  window=471 pid=812 stream=running panel=(114.0, 394.0, 812.0, 612.0) "
          "shown radius=12.0/18.0 border=#66746A/1.0 width=8.0\n== the shortcut again while "
          "the editor is in front: its window is unpinned\npinned: 0\n",
          "  window=501 pid=813 stream=running panel=(954.0, 274.0, 912.0, 712.0) shown "
          "radius=8.0/14.0 border=#66746A/1.0 width=8.0\npinned: 0\n",
          "announces it: the panel follows\npinned: 1\n  window=471 pid=812 stream=running "
          "panel=(194.0, 324.0, 812.0, 612.0)",
          "refresh moves the panel\npinned: 1\n  window=471 pid=812 stream=running "
          "panel=(254.0, 294.0, 812.0, 612.0)",
          "] tap: click on pinned area at (500.0, 680.0), raising real window\n",
          "] raise: activating Editor ok=true\n", "] raise: frontmost res=0\n",
          "] raise: raise res=0\n", "within a second the panel is unpinned\npinned: 0\n"})
        EXPECT_THAT(output, HasSubstr(part));
}

TEST_F(PinScenarioTest, CaptureFailuresAndAccessibilityCommandsReachThePin) {
    const std::string output = play(R"(
app 812 com.example.editor Editor
window 471 812 0 0 400 300
window 472 812 0 0 200 100
focus 812
permission accessibility on
permission screen-recording on
launch 4242
capture-fails 471 start
toggle
dump pinned
toggle
ax 812 main 472
ax-error 812 AXFocusedWindow -25204
toggle
dump pinned
capture-error 472
dump pinned
dump log
)");
    EXPECT_THAT(output, HasSubstr("mirror: capture ERROR Failed to start the stream\n"));
    EXPECT_THAT(output, HasSubstr("pinned: 1\n  window=471 pid=812 stream=none "
                                  "panel=(-6.0, -6.0, 412.0, 312.0) hidden"));
    EXPECT_THAT(output, HasSubstr("pinned: 1\n  window=472 pid=812 stream=running "
                                  "panel=(-6.0, -6.0, 212.0, 112.0) shown"));
    EXPECT_THAT(output, HasSubstr(" width=8.0\npinned: 0\n"));
    EXPECT_THAT(output, HasSubstr("frontWindow: AX copyFocused=-25204\n"));
}

TEST_F(PinScenarioTest, BadCommandWordsAreRefused) {
    Scenario scenario(desktop, out);
    defineAllCommands(scenario);
    std::ostringstream errors;
    EXPECT_FALSE(scenario.run("capture-fails 471 sometimes\n", errors));
    EXPECT_FALSE(scenario.run("frame 471 10 sideways\n", errors));
    EXPECT_FALSE(scenario.run("capture-error 471\n", errors));  // nothing is running
    EXPECT_EQ(errors.str(),
              "line 1: capture-fails WINDOW start|add-output [off]\n"
              "line 1: unknown frame word \"sideways\"\n"
              "line 1: no running stream for window 471\n");
}

}  // namespace
