#include "platform/sim/SimKeyNaming.h"

namespace sim {

std::string SimKeyNaming::modifierName(uint64_t flag) const {
    const auto found = modifierNames.find(flag);
    return found != modifierNames.end() ? found->second : std::string();
}

std::optional<std::string> SimKeyNaming::keyName(int64_t keyCode) const {
    const auto found = keyNames.find(keyCode);
    if (found == keyNames.end()) return std::nullopt;
    return found->second;
}

bool SimKeyNaming::hasKey(int64_t keyCode) const {
    return keyCode != unnamedKey && !missingKeys.contains(keyCode);
}

}  // namespace sim
