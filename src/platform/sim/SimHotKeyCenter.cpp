#include "platform/sim/SimHotKeyCenter.h"

#include <algorithm>

#include "platform/sim/SimDesktop.h"

namespace sim {

platform::OSStatus SimHotKeyCenter::registerHotKey(
    int32_t pid, uint32_t keyCode, uint32_t modifiers, platform::EventHotKeyID identifier,
    std::optional<platform::EventHotKeyRef>& outRef) {
    const bool taken = std::any_of(registrations_.begin(), registrations_.end(), [&](auto& r) {
        return r.keyCode == keyCode && r.modifiers == modifiers;
    });
    if (taken) return platform::eventHotKeyExistsErr;
    const platform::EventHotKeyRef ref{nextHandle_++};
    registrations_.push_back({ref, pid, keyCode, modifiers, identifier});
    outRef = ref;
    return platform::noErr;
}

platform::OSStatus SimHotKeyCenter::unregisterHotKey(int32_t pid, platform::EventHotKeyRef ref) {
    const auto erased = std::erase_if(registrations_, [&](const SimHotKeyRegistration& r) {
        return r.ref == ref && r.ownerPid == pid;
    });
    return erased > 0 ? platform::noErr : platform::eventHotKeyInvalidErr;
}

platform::OSStatus SimHotKeyCenter::readIdentifier(platform::EventRef event,
                                                   platform::EventHotKeyID& identifier) const {
    const auto found = events_.find(event.handle);
    if (found == events_.end() || !found->second) return platform::eventParameterNotFoundErr;
    identifier = *found->second;
    return platform::noErr;
}

platform::OSStatus SimHotKeyCenter::takeCombination(uint32_t keyCode, uint32_t modifiers) {
    std::optional<platform::EventHotKeyRef> ref;
    return registerHotKey(SimHotKeyRegistration::otherProgram, keyCode, modifiers,
                          {platform::fourCharCode("othr"), 1}, ref);
}

bool SimHotKeyCenter::pressKeys(uint32_t keyCode, uint32_t modifiers) {
    for (const auto& r : registrations_) {
        if (r.keyCode != keyCode || r.modifiers != modifiers) continue;
        if (r.ownerPid != SimHotKeyRegistration::otherProgram)
            deliverPress(r.ownerPid, r.identifier);
        return true;
    }
    return false;
}

void SimHotKeyCenter::deliverPress(int32_t pid, std::optional<platform::EventHotKeyID> identifier) {
    desktop_.postMainFor(pid, 0, [this, pid, identifier] {
        const uint64_t handle = nextHandle_++;
        events_[handle] = identifier;
        callHandlers(pid, {handle});
        events_.erase(handle);
    });
}

// A copy of the list: a handler may install another one while it runs.
void SimHotKeyCenter::callHandlers(int32_t pid, platform::EventRef event) {
    const auto handlers = handlers_;
    for (const auto& h : handlers) {
        if (h.pid != pid) continue;
        const bool wanted = std::any_of(h.types.begin(), h.types.end(), [](auto& type) {
            return type.eventClass == platform::kEventClassKeyboard &&
                   type.eventKind == platform::kEventHotKeyPressed;
        });
        if (wanted) handlerResults.push_back(h.handler({nextHandle_++}, event, h.userData));
    }
}

void SimHotKeyCenter::releaseCopy(int32_t pid) {
    std::erase_if(registrations_, [pid](const auto& r) { return r.ownerPid == pid; });
    std::erase_if(handlers_, [pid](const auto& h) { return h.pid == pid; });
}

std::vector<SimHotKeyRegistration> SimHotKeyCenter::registrationsOf(int32_t pid) const {
    std::vector<SimHotKeyRegistration> found;
    for (const auto& r : registrations_)
        if (r.ownerPid == pid) found.push_back(r);
    return found;
}

size_t SimHotKeyCenter::handlerCount(int32_t pid) const {
    return std::count_if(handlers_.begin(), handlers_.end(),
                         [pid](const SimEventHandler& h) { return h.pid == pid; });
}

}  // namespace sim
