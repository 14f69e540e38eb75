#pragma once

#include "platform/KeyNaming.h"

namespace desktop {

// Keys as a Linux desktop writes them ("Ctrl+Alt+K", "Super+P"). The keyboard's layout is
// the compositor's, which a client does not read, so every named key counts as there.
class WaylandKeyNaming : public platform::KeyNaming {
public:
    std::string modifierName(uint64_t flag) const override;
    std::optional<std::string> keyName(int64_t keyCode) const override;
    bool hasKey(int64_t keyCode) const override;
};

}  // namespace desktop
