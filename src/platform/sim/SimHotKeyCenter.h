#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "platform/HotKeys.h"

namespace sim {

class SimDesktop;

// One combination held with the desktop, by a copy of this program or by another program.
struct SimHotKeyRegistration {
    static constexpr int32_t otherProgram = 0;

    platform::EventHotKeyRef ref;
    int32_t ownerPid = otherProgram;
    uint32_t keyCode = 0;
    uint32_t modifiers = 0;  // event-manager mask
    platform::EventHotKeyID identifier;
};

struct SimEventHandler {
    int32_t pid = 0;
    platform::EventTargetRef target;
    platform::EventHandlerUPP handler = nullptr;
    std::vector<platform::EventTypeSpec> types;
    void* userData = nullptr;
};

// The desktop's table of system-wide hot keys and the handlers of each copy. A press of a
// registered combination reaches the owner's handlers on its main queue.
class SimHotKeyCenter {
public:
    explicit SimHotKeyCenter(SimDesktop& desktop) : desktop_(desktop) {}

    // --- what the platform service does for the running copy -------------------------
    platform::OSStatus registerHotKey(int32_t pid, uint32_t keyCode, uint32_t modifiers,
                                      platform::EventHotKeyID identifier,
                                      std::optional<platform::EventHotKeyRef>& outRef);
    // Only the owner can release a registration.
    platform::OSStatus unregisterHotKey(int32_t pid, platform::EventHotKeyRef ref);
    void installHandler(SimEventHandler handler) { handlers_.push_back(std::move(handler)); }
    platform::OSStatus readIdentifier(platform::EventRef event,
                                      platform::EventHotKeyID& identifier) const;

    // --- control surface ---------------------------------------------------------------
    // Another program takes the combination; the status of its registration.
    platform::OSStatus takeCombination(uint32_t keyCode, uint32_t modifiers);
    // The user presses the combination. False when no registration holds it.
    bool pressKeys(uint32_t keyCode, uint32_t modifiers);
    // An event as the desktop would send it to the copy; nullopt makes the read fail.
    void deliverPress(int32_t pid, std::optional<platform::EventHotKeyID> identifier);

    // A copy ended: its registrations and handlers go with it.
    void releaseCopy(int32_t pid);

    std::vector<SimHotKeyRegistration> registrationsOf(int32_t pid) const;
    size_t handlerCount(int32_t pid) const;
    // What each handler call returned, in order.
    std::vector<platform::OSStatus> handlerResults;

private:
    void callHandlers(int32_t pid, platform::EventRef event);

    SimDesktop& desktop_;
    std::vector<SimHotKeyRegistration> registrations_;
    std::vector<SimEventHandler> handlers_;
    // Events being handled: the identifier each carries, none when its read fails.
    std::map<uint64_t, std::optional<platform::EventHotKeyID>> events_;
    uint64_t nextHandle_ = 1;
};

}  // namespace sim
