#include "KeyCombination.h"

#include <xcb/xproto.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace {

struct Modifier {
    uint32_t keysym;
    uint16_t mask;
};

const std::map<std::string, Modifier>& modifiers() {
    static const std::map<std::string, Modifier> table = {
        {"shift", {0xffe1, XCB_MOD_MASK_SHIFT}},
        {"ctrl", {0xffe3, XCB_MOD_MASK_CONTROL}},
        {"alt", {0xffe9, XCB_MOD_MASK_1}},
        {"super", {0xffeb, XCB_MOD_MASK_4}},
    };
    return table;
}

const std::map<std::string, uint32_t>& namedKeys() {
    static const std::map<std::string, uint32_t> table = {
        {"space", 0x20},       {"escape", 0xff1b}, {"return", 0xff0d},   {"tab", 0xff09},
        {"backspace", 0xff08}, {"delete", 0xffff}, {"left", 0xff51},     {"up", 0xff52},
        {"right", 0xff53},     {"down", 0xff54},   {"num_lock", 0xff7f}, {"caps_lock", 0xffe5},
    };
    return table;
}

std::optional<uint32_t> keysymOf(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<uint32_t>(name[0]);  // Latin-1 keysyms are the characters
    const auto found = namedKeys().find(name);
    if (found != namedKeys().end()) return found->second;
    if (name.size() >= 2 && name[0] == 'f' &&
        std::all_of(name.begin() + 1, name.end(), ::isdigit)) {
        const int number = std::stoi(name.substr(1));
        if (number >= 1 && number <= 24) return 0xffbe + static_cast<uint32_t>(number - 1);
    }
    return std::nullopt;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::optional<KeyCombination> KeyCombination::parse(const std::string& text) {
    KeyCombination combination;
    std::string rest = lower(text);
    for (auto plus = rest.find('+'); plus != std::string::npos && plus + 1 < rest.size();
         plus = rest.find('+')) {
        const auto modifier = modifiers().find(rest.substr(0, plus));
        if (modifier == modifiers().end()) return std::nullopt;
        combination.modifierKeys.push_back(modifier->second.keysym);
        combination.modifierMask |= modifier->second.mask;
        rest = rest.substr(plus + 1);
    }
    const auto keysym = keysymOf(rest);
    if (!keysym) return std::nullopt;
    combination.keysym = *keysym;
    return combination;
}
