// The scenario runner: any text runs to its end or stops at a bad line, never crashing,
// hanging or tripping a sanitizer. Each input plays on a fresh desktop, as a new process.
#include <memory>
#include <sstream>
#include <string>

#include "hotkey/HotkeyManagerReset.h"
#include "pinning/MirrorPanel.h"
#include "pinning/PinManager.h"
#include "platform/sim/SimPlatform.h"
#include "simulate/ScenarioCommands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string script(reinterpret_cast<const char*>(bytes), size);
    MirrorPanel::forgetScreenFrame();
    HotkeyManagerReset::toFreshInstance();  // each input is a new process
    sim::SimDesktop desktop;
    platform::install(std::make_unique<sim::SimPlatform>(desktop));
    std::ostringstream out, errors;
    {
        Scenario scenario(desktop, out);
        defineAllCommands(scenario);
        scenario.run(script, errors);
    }
    PinManager::shared().onPinChanged = nullptr;
    PinManager::shared().unpinAll();
    desktop.runUntilIdle();
    platform::uninstall();
    return 0;
}
