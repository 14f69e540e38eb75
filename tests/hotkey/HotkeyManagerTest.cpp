#include "hotkey/HotkeyManager.h"

#include <gmock/gmock.h>

#include <tuple>

#include "settings/Settings.h"
#include "support/LaunchedShellFixture.h"

namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* fired = "hotkey PRESSED fired";

class HotkeyManagerTest : public LaunchedShellFixture {
protected:
    std::vector<sim::SimHotKeyRegistration> ours() const {
        return desktop.shell.hotKeys.registrationsOf(ownPid);
    }
};

TEST_F(HotkeyManagerTest, ReinstallTwiceThenOnePressTogglesOnce) {
    HotkeyManager::shared().reinstall();
    HotkeyManager::shared().reinstall();
    EXPECT_THAT(logMessages(), ElementsAre("hotkey: Register kc=35 mods=2048 err=0",
                                           "hotkey: Register kc=35 mods=2048 err=0"));
    EXPECT_EQ(ours().size(), 1u);
    EXPECT_EQ(desktop.shell.hotKeys.handlerCount(ownPid), 1u);
    clearLog();
    EXPECT_TRUE(press(keyP, optionKey));
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    const auto lines = logMessages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), fired), 1);
    EXPECT_EQ(lines.at(1), "toggle front app=Editor pid=812");
}

TEST_F(HotkeyManagerTest, AFailedRegistrationLeavesNoShortcutNotEvenTheOldOne) {
    Settings::saveShortcut(12, Settings::commandFlag);
    EXPECT_EQ(desktop.shell.hotKeys.takeCombination(12, 0x0100), platform::noErr);
    HotkeyManager::shared().reinstall();
    EXPECT_THAT(logMessages(), ElementsAre("hotkey: Register kc=12 mods=256 err=-9878"));
    EXPECT_THAT(ours(), IsEmpty());
    EXPECT_FALSE(press(keyP, optionKey));  // released, though the new one failed
    EXPECT_TRUE(press(12, 0x0100));        // reaches the other program only
    EXPECT_THAT(logMessages(), ElementsAre("hotkey: Register kc=12 mods=256 err=-9878"));
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    // The handler stays single across failures; a later free combination works again.
    Settings::saveShortcut(13, Settings::commandFlag);
    HotkeyManager::shared().reinstall();
    EXPECT_EQ(desktop.shell.hotKeys.handlerCount(ownPid), 1u);
    EXPECT_TRUE(press(13, 0x0100));
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
}

TEST_F(HotkeyManagerTest, TheHandlerIsInstalledEvenWhenTheFirstRegistrationFails) {
    desktop.startProgramCopy(ownPid + 1);  // a copy with a manager that never ran
    HotkeyManagerReset::toFreshInstance();
    desktop.shell.hotKeys.takeCombination(keyP + 1, optionKey);
    Settings::saveShortcut(keyP + 1, Settings::optionFlag);
    HotkeyManager::shared().reinstall();
    EXPECT_EQ(desktop.shell.hotKeys.handlerCount(ownPid + 1), 1u);
    EXPECT_THAT(desktop.shell.hotKeys.registrationsOf(ownPid + 1), IsEmpty());
}

// The pause is looked at when the main queue runs the work, not when the key goes down.
TEST_F(HotkeyManagerTest, PausedPressesDoNothingAndLeaveNoLine) {
    desktop.shell.hotKeys.pressKeys(keyP, optionKey);
    HotkeyManager::shared().paused = true;
    desktop.runUntilIdle();
    EXPECT_TRUE(press(keyP, optionKey));
    EXPECT_THAT(logMessages(), IsEmpty());
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    EXPECT_EQ(ours().size(), 1u);  // still registered while paused
    HotkeyManager::shared().paused = false;
    EXPECT_TRUE(press(keyP, optionKey));
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
}

TEST_F(HotkeyManagerTest, OnlyIdentifierOneActsWhateverItsSignature) {
    const uint32_t quel = HotkeyManager::identifier.signature;
    desktop.shell.hotKeys.deliverPress(ownPid, platform::EventHotKeyID{quel, 2});
    desktop.shell.hotKeys.deliverPress(ownPid, platform::EventHotKeyID{quel, 0});
    desktop.shell.hotKeys.deliverPress(ownPid, std::nullopt);  // the identifier cannot be read
    desktop.runUntilIdle();
    EXPECT_THAT(logMessages(), IsEmpty());
    EXPECT_THAT(pinnedWindows(), IsEmpty());
    desktop.shell.hotKeys.deliverPress(ownPid, platform::EventHotKeyID{0x58585858, 1});
    desktop.runUntilIdle();
    EXPECT_THAT(logMessages(), Contains(fired));
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
    EXPECT_EQ(desktop.shell.hotKeys.handlerResults.size(), 4u);
    EXPECT_THAT(desktop.shell.hotKeys.handlerResults, Each(platform::noErr));
}

TEST_F(HotkeyManagerTest, RegistersTheStoredShortcutWithOptionStandingInForNoMask) {
    ASSERT_EQ(ours().size(), 1u);  // what the launch registered
    EXPECT_EQ(ours()[0].keyCode, keyP);
    EXPECT_EQ(ours()[0].modifiers, optionKey);
    EXPECT_EQ(ours()[0].identifier, (platform::EventHotKeyID{0x5155454C, 1}));  // 'QUEL'
    // Key code and modifiers as stored (0: nothing), the line logged, the Carbon mask.
    const std::tuple<int64_t, int64_t, const char*, uint32_t> cases[] = {
        {0, 0, "hotkey: Register kc=35 mods=2048 err=0", 0x0800},
        {0, 0x800000, "hotkey: Register kc=35 mods=2048 err=0", 0x0800},  // function alone
        {12, 0x1E0000, "hotkey: Register kc=12 mods=6912 err=0", 0x1B00},
        {49, 0x140000, "hotkey: Register kc=49 mods=4352 err=0", 0x1100},
        {1, 0x20000, "hotkey: Register kc=35 mods=512 err=0", 0x0200},
    };
    for (const auto& [keyCode, modifiers, line, carbon] : cases) {
        desktop.defaults.clear();
        if (keyCode) desktop.defaults[Settings::kcKey] = keyCode;
        if (modifiers) desktop.defaults[Settings::modsKey] = modifiers;
        clearLog();
        HotkeyManager::shared().reinstall();
        EXPECT_THAT(logMessages(), ElementsAre(line));
        ASSERT_EQ(ours().size(), 1u) << line;
        EXPECT_EQ(ours()[0].modifiers, carbon) << line;
    }
}

}  // namespace
