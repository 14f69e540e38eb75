#include <gmock/gmock.h>

#include "app/ShellCommand.h"
#include "support/LaunchedShellFixture.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ShellCommandTest : public LaunchedShellFixture {
protected:
    void run(ShellCommand command) {
        runShellCommand(command);
        desktop.runUntilIdle();
    }
};

TEST_F(ShellCommandTest, OptionsNameExactlyTheThreeCommands) {
    for (const ShellCommand command :
         {ShellCommand::toggle, ShellCommand::unpinAll, ShellCommand::quit})
        EXPECT_EQ(shellCommandNamed(optionOf(command)), command);
    EXPECT_EQ(optionOf(ShellCommand::unpinAll), "--unpin-all");
    for (const char* other : {"toggle", "--Toggle", "--toggle ", "-t", "--unpin", ""})
        EXPECT_FALSE(shellCommandNamed(other)) << other;
}

// Toggle takes the shortcut's road: the front window of the front application, and again
// unpins it.
TEST_F(ShellCommandTest, ToggleAndUnpinAllTakeTheShortcutsAndTheMenusRoad) {
    run(ShellCommand::toggle);
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    const auto messages = logMessages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0], "command: --toggle");
    EXPECT_EQ(messages[1], "toggle front app=Editor pid=812");
    run(ShellCommand::toggle);
    EXPECT_THAT(pinnedWindows(), IsEmpty());

    run(ShellCommand::toggle);
    desktop.setFrontmost(browser);
    run(ShellCommand::toggle);
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u, 501u));
    run(ShellCommand::unpinAll);
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_FALSE(desktop.findProcess(ownPid)->terminated);
}

TEST_F(ShellCommandTest, QuitEndsTheProgramAsTheMenusQuitDoes) {
    run(ShellCommand::quit);
    EXPECT_TRUE(desktop.findProcess(ownPid)->terminated);
    EXPECT_THAT(logMessages(), Contains("command: --quit"));
}

}  // namespace
