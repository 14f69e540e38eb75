#include "platform/desktop/X11Services.h"

namespace desktop {
namespace {

// Placeholder until key grabs land: every combination reads as taken.
class PendingHotKeys : public platform::HotKeys {
public:
    platform::EventTargetRef applicationEventTarget() override { return {1}; }
    platform::OSStatus registerEventHotKey(uint32_t, uint32_t, platform::EventHotKeyID,
                                           platform::EventTargetRef, uint32_t,
                                           std::optional<platform::EventHotKeyRef>&) override {
        return platform::eventHotKeyExistsErr;
    }
    platform::OSStatus unregisterEventHotKey(platform::EventHotKeyRef) override {
        return platform::noErr;
    }
    platform::OSStatus installEventHandler(platform::EventTargetRef, platform::EventHandlerUPP,
                                           const std::vector<platform::EventTypeSpec>&,
                                           void*) override {
        return platform::noErr;
    }
    platform::OSStatus getEventHotKeyID(platform::EventRef, platform::EventHotKeyID&) override {
        return platform::eventParameterNotFoundErr;
    }
};

}  // namespace

std::unique_ptr<platform::HotKeys> makeHotKeys(X11Context&) {
    return std::make_unique<PendingHotKeys>();
}

}  // namespace desktop
