#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/HotKeys.h"

namespace desktop {

class X11Connection;

// The passive grabs on the root that make one key combination global: every X key code
// that yields the key, each also with CapsLock and NumLock on, since the server matches
// modifiers exactly.
class X11HotKeyGrab {
public:
    X11HotKeyGrab(std::vector<xcb_keycode_t> keycodes, uint16_t modifiers, uint16_t numLock);

    // All variants or none: eventHotKeyExistsErr when another client holds one of them,
    // eventHotKeyInvalidErr when the key has no key code or the server refuses otherwise.
    platform::OSStatus grab(X11Connection& connection);
    void release(X11Connection& connection);

    bool matchesPress(const xcb_key_press_event_t& event) const;
    bool matchesKey(xcb_keycode_t keycode) const;

private:
    using Variant = std::pair<xcb_keycode_t, uint16_t>;

    std::vector<Variant> variants() const;
    void ungrab(X11Connection& connection, const std::vector<Variant>& variants);

    std::vector<xcb_keycode_t> keycodes_;
    uint16_t modifiers_;
    uint16_t lockBits_;
    std::vector<Variant> taken_;
};

}  // namespace desktop
