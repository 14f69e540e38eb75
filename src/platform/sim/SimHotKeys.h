#pragma once

#include "platform/HotKeys.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// The hot-key calls of the running copy, answered by the desktop's hot-key table.
class SimHotKeys : public platform::HotKeys {
public:
    explicit SimHotKeys(SimDesktop& desktop) : desktop_(desktop) {}

    platform::EventTargetRef applicationEventTarget() override;
    platform::OSStatus registerEventHotKey(
        uint32_t keyCode, uint32_t modifiers, platform::EventHotKeyID identifier,
        platform::EventTargetRef target, uint32_t options,
        std::optional<platform::EventHotKeyRef>& outRef) override;
    platform::OSStatus unregisterEventHotKey(platform::EventHotKeyRef ref) override;
    platform::OSStatus installEventHandler(platform::EventTargetRef target,
                                           platform::EventHandlerUPP handler,
                                           const std::vector<platform::EventTypeSpec>& types,
                                           void* userData) override;
    platform::OSStatus getEventHotKeyID(platform::EventRef event,
                                        platform::EventHotKeyID& identifier) override;

private:
    int32_t pid() const { return desktop_.currentProcess().pid; }

    SimDesktop& desktop_;
};

}  // namespace sim
