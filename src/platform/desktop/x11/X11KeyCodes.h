#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace desktop {

// A key press as the logic names it: a virtual key code and its modifier-flag set.
struct X11KeyStroke {
    uint32_t keyCode = 0;
    uint64_t modifiers = 0;  // shift 0x20000, control 0x40000, option 0x80000, command 0x100000
    bool operator==(const X11KeyStroke&) const = default;
};

// Translates between the logic's virtual key codes, X keysyms and the key codes of the
// current keyboard mapping. The table part needs no server; the mapping part belongs to one
// connection and one thread.
class X11KeyCodes {
public:
    static constexpr uint16_t modifierBits = 0xff;  // Shift, Lock, Control, Mod1..Mod5

    // The unshifted keysym of a virtual key code; nothing for keys without one.
    static std::optional<xcb_keysym_t> keysymOf(uint32_t keyCode);
    // The virtual key code of a keysym, whichever level of its key it sits on.
    static std::optional<uint32_t> keyCodeOf(xcb_keysym_t keysym);
    // X modifier state (Shift, Control, Mod1 = Alt, Mod4 = Super) to the logic's flags.
    static uint64_t modifierFlagsOf(uint16_t state);
    // The event-manager mask of a hot key (command 0x100, shift 0x200, option 0x800,
    // control 0x1000) to X modifier state.
    static uint16_t modifierStateOfMask(uint32_t mask);

    explicit X11KeyCodes(xcb_connection_t* connection);

    // Every X key code that yields the keysym on the current mapping.
    std::vector<xcb_keycode_t> keycodesOf(xcb_keysym_t keysym) const;
    std::vector<xcb_keycode_t> keycodesOfKeyCode(uint32_t keyCode) const;
    // A key press to the logic's key code and flags; nothing for keys the logic cannot name.
    std::optional<X11KeyStroke> strokeOf(const xcb_key_press_event_t& event) const;
    // The modifier bit that Num_Lock sits on (0 when none), read from the modifier mapping.
    uint16_t numLockMask() const;
    // Takes a MappingNotify into account.
    void refresh(const xcb_mapping_notify_event_t& event);
    // Reads the whole mapping anew, as after a change of keyboard or layout.
    void reload();

private:
    xcb_connection_t* connection_;
    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols_;
};

}  // namespace desktop
