#include "platform/desktop/DesktopKeyNames.h"

#include <map>

namespace desktop {

std::string linuxModifierName(uint64_t flag) {
    switch (flag) {
        case 0x40000:
            return "Ctrl";
        case 0x80000:
            return "Alt";
        case 0x20000:
            return "Shift";
        case 0x100000:
            return "Super";
        case 0x800000:
            return "Fn";
        default:
            return {};
    }
}

std::optional<std::string> linuxKeyName(int64_t keyCode) {
    static const std::map<int64_t, std::string> names{
        {36, "Return"}, {51, "Backspace"}, {52, "Enter"}, {76, "Enter"}, {114, "Ins"},
        {115, "Home"},  {116, "PgUp"},     {117, "Del"},  {119, "End"},  {121, "PgDown"},
        {123, "Left"},  {124, "Right"},    {125, "Down"}, {126, "Up"},
    };
    if (const auto found = names.find(keyCode); found != names.end()) return found->second;
    return std::nullopt;
}

}  // namespace desktop
