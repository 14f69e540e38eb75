#pragma once

#include <string>
#include <vector>

#include "pinning/PinFixture.h"
#include "platform/sim/SimMenuBar.h"
#include "support/ShellFixture.h"

// The pin scene with the program launched: its status item and its shortcut are those of
// this desktop.
class LaunchedShellFixture : public PinFixture {
protected:
    static constexpr uint32_t keyP = 35;
    static constexpr uint32_t optionKey = 0x0800;

    // The user presses a combination; true when a registration held it.
    bool press(uint32_t keyCode, uint32_t modifiers) {
        const bool routed = desktop.shell.hotKeys.pressKeys(keyCode, modifiers);
        desktop.runUntilIdle();
        return routed;
    }

    std::vector<std::string> openMenu() {
        const auto menu = desktop.shell.menuBar.openMenu(ownPid);
        if (!menu) return {};
        return sim::SimMenuBar::describe(*menu);
    }
};
