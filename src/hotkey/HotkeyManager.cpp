#include "hotkey/HotkeyManager.h"

#include <memory>
#include <string>

#include "app/Log.h"
#include "pinning/PinManager.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace {

constexpr uint32_t optionKey = 0x0800;

}  // namespace

HotkeyManager& HotkeyManager::shared() {
    static HotkeyManager* const instance = new HotkeyManager();
    return *instance;
}

void HotkeyManager::reinstall() {
    platform::HotKeys& hotKeys = platform::hotKeys();
    if (hotKeyRef) {
        hotKeys.unregisterEventHotKey(*hotKeyRef);
        hotKeyRef.reset();
    }
    const uint32_t keyCode = Settings::keyCode();
    uint32_t modifiers = Settings::carbonOf(Settings::modifiers());
    if (modifiers == 0) modifiers = optionKey;  // the function flag alone has no mask
    std::optional<platform::EventHotKeyRef> ref;
    const platform::OSStatus status = hotKeys.registerEventHotKey(
        keyCode, modifiers, identifier, hotKeys.applicationEventTarget(), 0, ref);
    flog("hotkey: Register kc=" + std::to_string(keyCode) + " mods=" + std::to_string(modifiers) +
         " err=" + std::to_string(status));
    if (status == platform::noErr && ref) hotKeyRef = ref;
    if (!handlerInstalled) {
        hotKeys.installEventHandler(
            hotKeys.applicationEventTarget(), &hotKeyPressed,
            {{platform::kEventClassKeyboard, platform::kEventHotKeyPressed}}, nullptr);
        handlerInstalled = true;
    }
}

// Answers at once; the work waits for the main queue. An unreadable identifier stays
// zero and so is ignored there.
platform::OSStatus HotkeyManager::hotKeyPressed(platform::EventHandlerCallRef,
                                                platform::EventRef event, void*) {
    auto pressed = std::make_shared<platform::EventHotKeyID>();
    platform::hotKeys().getEventHotKeyID(event, *pressed);
    platform::dispatch().mainAsync([pressed] {
        if (pressed->id != identifier.id) return;
        if (HotkeyManager::shared().paused) return;
        flog("hotkey PRESSED fired");
        PinManager::shared().toggleFrontmost();
    });
    return platform::noErr;
}
