#include "platform/sim/SimDefaults.h"

#include <charconv>

namespace sim {
namespace {

// A stored text reads as the number it begins with, as the desktop's preferences do.
int64_t leadingInteger(const std::string& text) {
    size_t start = text.find_first_not_of(" \t\n");
    if (start == std::string::npos) return 0;
    if (text[start] == '+') ++start;
    int64_t value = 0;
    std::from_chars(text.data() + start, text.data() + text.size(), value);
    return value;
}

}  // namespace

int64_t SimDefaults::integerForKey(const std::string& key) const {
    auto found = desktop_.defaults.find(key);
    if (found == desktop_.defaults.end()) return 0;
    if (auto number = std::get_if<int64_t>(&found->second)) return *number;
    return leadingInteger(std::get<std::string>(found->second));
}

std::optional<std::string> SimDefaults::stringForKey(const std::string& key) const {
    auto found = desktop_.defaults.find(key);
    if (found == desktop_.defaults.end()) return std::nullopt;
    if (auto number = std::get_if<int64_t>(&found->second)) return std::to_string(*number);
    return std::get<std::string>(found->second);
}

void SimDefaults::setInteger(int64_t value, const std::string& key) {
    desktop_.defaults[key] = value;
}

void SimDefaults::setString(const std::string& value, const std::string& key) {
    desktop_.defaults[key] = value;
}

void SimDefaults::removeObject(const std::string& key) {
    desktop_.defaults.erase(key);
}

}  // namespace sim
