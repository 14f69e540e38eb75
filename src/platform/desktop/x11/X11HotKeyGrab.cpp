#include "platform/desktop/x11/X11HotKeyGrab.h"

#include <algorithm>

#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11KeyCodes.h"

namespace desktop {

X11HotKeyGrab::X11HotKeyGrab(std::vector<xcb_keycode_t> keycodes, uint16_t modifiers,
                             uint16_t numLock)
    : keycodes_(std::move(keycodes)),
      modifiers_(modifiers),
      lockBits_(static_cast<uint16_t>(XCB_MOD_MASK_LOCK | numLock)) {}

std::vector<X11HotKeyGrab::Variant> X11HotKeyGrab::variants() const {
    std::vector<uint16_t> locks{0};
    for (uint16_t bit = 1; bit != 0 && bit <= lockBits_; bit = static_cast<uint16_t>(bit << 1)) {
        if ((lockBits_ & bit) == 0) continue;
        for (size_t i = 0, n = locks.size(); i < n; ++i)
            locks.push_back(static_cast<uint16_t>(locks[i] | bit));
    }
    std::vector<Variant> all;
    for (xcb_keycode_t keycode : keycodes_)
        for (uint16_t lock : locks)
            all.emplace_back(keycode, static_cast<uint16_t>(modifiers_ | lock));
    return all;
}

// Every request goes out before the first answer is read: one round trip for all.
platform::OSStatus X11HotKeyGrab::grab(X11Connection& connection) {
    if (keycodes_.empty()) return platform::eventHotKeyInvalidErr;
    xcb_connection_t* c = connection.get();
    const std::vector<Variant> wanted = variants();
    std::vector<xcb_void_cookie_t> cookies;
    for (const auto& [keycode, modifiers] : wanted)
        cookies.push_back(xcb_grab_key_checked(c, 0, connection.root(), modifiers, keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    platform::OSStatus status = platform::noErr;
    std::vector<Variant> taken;
    for (size_t i = 0; i < wanted.size(); ++i) {
        const auto error = xreply(xcb_request_check(c, cookies[i]));
        if (!error) {
            taken.push_back(wanted[i]);
        } else if (status == platform::noErr || error->error_code == XCB_ACCESS) {
            status = error->error_code == XCB_ACCESS ? platform::eventHotKeyExistsErr
                                                     : platform::eventHotKeyInvalidErr;
        }
    }
    if (status == platform::noErr && connection.broken()) status = platform::eventHotKeyInvalidErr;
    if (status != platform::noErr) {
        ungrab(connection, taken);
        return status;
    }
    taken_ = std::move(taken);
    return platform::noErr;
}

void X11HotKeyGrab::release(X11Connection& connection) {
    ungrab(connection, taken_);
    taken_.clear();
}

void X11HotKeyGrab::ungrab(X11Connection& connection, const std::vector<Variant>& variants) {
    for (const auto& [keycode, modifiers] : variants)
        xcb_ungrab_key(connection.get(), keycode, connection.root(), modifiers);
    connection.flush();
}

bool X11HotKeyGrab::matchesPress(const xcb_key_press_event_t& event) const {
    const uint16_t state = event.state & X11KeyCodes::modifierBits & ~lockBits_;
    return !taken_.empty() && state == modifiers_ && matchesKey(event.detail);
}

bool X11HotKeyGrab::matchesKey(xcb_keycode_t keycode) const {
    return std::find(keycodes_.begin(), keycodes_.end(), keycode) != keycodes_.end();
}

}  // namespace desktop
