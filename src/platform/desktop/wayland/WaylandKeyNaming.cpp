#include "platform/desktop/wayland/WaylandKeyNaming.h"

#include "platform/desktop/DesktopKeyNames.h"

namespace desktop {

std::string WaylandKeyNaming::modifierName(uint64_t flag) const {
    return linuxModifierName(flag);
}

std::optional<std::string> WaylandKeyNaming::keyName(int64_t keyCode) const {
    return linuxKeyName(keyCode);
}

bool WaylandKeyNaming::hasKey(int64_t keyCode) const {
    return keyCode >= 0 && keyCode != unnamedKey;
}

}  // namespace desktop
