#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/KeyNaming.h"

namespace sim {

// The simulated keyboard writes modifiers as symbols and has every key but those a test
// takes away. Tests may rename modifiers and keys.
class SimKeyNaming : public platform::KeyNaming {
public:
    std::string modifierName(uint64_t flag) const override;
    std::optional<std::string> keyName(int64_t keyCode) const override;
    bool hasKey(int64_t keyCode) const override;

    // --- control (main thread) -------------------------------------------------------
    std::map<uint64_t, std::string> modifierNames{{0x40000, "\u2303"},
                                                  {0x80000, "\u2325"},
                                                  {0x20000, "\u21E7"},
                                                  {0x100000, "\u2318"},
                                                  {0x800000, "Fn"}};
    std::map<int64_t, std::string> keyNames;  // none: the common legends
    std::set<int64_t> missingKeys;
};

}  // namespace sim
