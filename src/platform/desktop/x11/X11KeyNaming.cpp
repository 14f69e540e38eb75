#include "platform/desktop/x11/X11KeyNaming.h"

#include <X11/keysym.h>

#include "platform/desktop/DesktopKeyNames.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11KeyCodes.h"

namespace desktop {

X11KeyNaming::X11KeyNaming(X11Context& context)
    : context_(context), codes_(std::make_unique<X11KeyCodes>(context.main().get())) {
    eventToken_ = context_.events().subscribe([this](const xcb_generic_event_t& event) {
        if (eventType(event) == XCB_MAPPING_NOTIFY)
            codes_->refresh(reinterpret_cast<const xcb_mapping_notify_event_t&>(event));
        return false;  // others may want it too
    });
}

X11KeyNaming::~X11KeyNaming() {
    context_.events().unsubscribe(eventToken_);
}

std::string X11KeyNaming::modifierName(uint64_t flag) const {
    return linuxModifierName(flag);
}

std::optional<std::string> X11KeyNaming::keyName(int64_t keyCode) const {
    if (auto name = linuxKeyName(keyCode)) return name;
    const auto keysym =
        keyCode >= 0 ? X11KeyCodes::keysymOf(static_cast<uint32_t>(keyCode)) : std::nullopt;
    if (keysym && *keysym >= XK_F1 && *keysym <= XK_F35)
        return "F" + std::to_string(*keysym - XK_F1 + 1);
    return std::nullopt;
}

bool X11KeyNaming::hasKey(int64_t keyCode) const {
    if (keyCode < 0 || keyCode == unnamedKey) return false;
    return !codes_->keycodesOfKeyCode(static_cast<uint32_t>(keyCode)).empty();
}

platform::KeyEvent X11KeyNaming::keyEvent(uint8_t keycode, uint16_t state) const {
    xcb_key_press_event_t press{};
    press.response_type = XCB_KEY_PRESS;
    press.detail = keycode;
    press.state = state;
    if (const auto stroke = codes_->strokeOf(press))
        return {static_cast<uint16_t>(stroke->keyCode), stroke->modifiers};
    return {unnamedKey, X11KeyCodes::modifierFlagsOf(state)};
}

}  // namespace desktop
