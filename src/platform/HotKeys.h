#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

using OSStatus = int32_t;

// Four ASCII characters packed big-endian, as the event manager writes its codes.
constexpr uint32_t fourCharCode(const char (&code)[5]) {
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

// What a registered hot key reports when pressed: 8 bytes, signature then id.
struct EventHotKeyID {
    uint32_t signature = 0;
    uint32_t id = 0;
    bool operator==(const EventHotKeyID&) const = default;
};

// Opaque handles the desktop hands out; only compared and passed back.
struct EventHotKeyRef {
    uint64_t handle = 0;
    bool operator==(const EventHotKeyRef&) const = default;
};
struct EventTargetRef {
    uint64_t handle = 0;
    bool operator==(const EventTargetRef&) const = default;
};
struct EventRef {
    uint64_t handle = 0;
};
struct EventHandlerCallRef {
    uint64_t handle = 0;
};

struct EventTypeSpec {
    uint32_t eventClass = 0;
    uint32_t eventKind = 0;
};

inline constexpr uint32_t kEventClassKeyboard = fourCharCode("keyb");
inline constexpr uint32_t kEventHotKeyPressed = 5;
inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus eventHotKeyExistsErr = -9878;
inline constexpr OSStatus eventHotKeyInvalidErr = -9879;
inline constexpr OSStatus eventParameterNotFoundErr = -9870;

// A plain function, called by the desktop on the main thread for each matching event.
using EventHandlerUPP = OSStatus (*)(EventHandlerCallRef call, EventRef event, void* userData);

// System-wide keyboard shortcuts. A combination is a virtual key code and an event-manager
// modifier mask (command 0x100, shift 0x200, option 0x800, control 0x1000); a desktop
// without those codes translates them to its own.
class HotKeys {
public:
    virtual ~HotKeys() = default;

    virtual EventTargetRef applicationEventTarget() = 0;
    // On success (noErr) fills in the new registration; a combination that someone holds
    // already gives eventHotKeyExistsErr.
    virtual OSStatus registerEventHotKey(uint32_t keyCode, uint32_t modifiers,
                                         EventHotKeyID identifier, EventTargetRef target,
                                         uint32_t options,
                                         std::optional<EventHotKeyRef>& outRef) = 0;
    virtual OSStatus unregisterEventHotKey(EventHotKeyRef ref) = 0;
    virtual OSStatus installEventHandler(EventTargetRef target, EventHandlerUPP handler,
                                         const std::vector<EventTypeSpec>& types,
                                         void* userData) = 0;
    // The identifier of the hot key an event reports; leaves it unchanged on failure.
    virtual OSStatus getEventHotKeyID(EventRef event, EventHotKeyID& identifier) = 0;
};

}  // namespace platform
