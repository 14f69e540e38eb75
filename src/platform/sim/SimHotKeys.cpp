#include "platform/sim/SimHotKeys.h"

namespace sim {

// Each copy's application target is named after its process.
platform::EventTargetRef SimHotKeys::applicationEventTarget() {
    return {static_cast<uint64_t>(static_cast<uint32_t>(pid()))};
}

platform::OSStatus SimHotKeys::registerEventHotKey(
    uint32_t keyCode, uint32_t modifiers, platform::EventHotKeyID identifier,
    platform::EventTargetRef target, uint32_t, std::optional<platform::EventHotKeyRef>& outRef) {
    if (target != applicationEventTarget()) return platform::eventHotKeyInvalidErr;
    return desktop_.shell.hotKeys.registerHotKey(pid(), keyCode, modifiers, identifier, outRef);
}

platform::OSStatus SimHotKeys::unregisterEventHotKey(platform::EventHotKeyRef ref) {
    return desktop_.shell.hotKeys.unregisterHotKey(pid(), ref);
}

platform::OSStatus SimHotKeys::installEventHandler(
    platform::EventTargetRef target, platform::EventHandlerUPP handler,
    const std::vector<platform::EventTypeSpec>& types, void* userData) {
    if (handler == nullptr) return platform::eventHotKeyInvalidErr;
    desktop_.shell.hotKeys.installHandler({pid(), target, handler, types, userData});
    return platform::noErr;
}

platform::OSStatus SimHotKeys::getEventHotKeyID(platform::EventRef event,
                                                platform::EventHotKeyID& identifier) {
    return desktop_.shell.hotKeys.readIdentifier(event, identifier);
}

}  // namespace sim
