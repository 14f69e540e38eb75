#include "settings/KeyNames.h"

#include <vector>

#include "platform/Platform.h"
#include "settings/Settings.h"

const std::map<int, std::string>& keyNames() {
    static const std::map<int, std::string> names{
        {0, "A"},        {1, "S"},        {2, "D"},        {3, "F"},       {4, "H"},
        {5, "G"},        {6, "Z"},        {7, "X"},        {8, "C"},       {9, "V"},
        {11, "B"},       {12, "Q"},       {13, "W"},       {14, "E"},      {15, "R"},
        {16, "Y"},       {17, "T"},       {18, "1"},       {19, "2"},      {20, "3"},
        {21, "4"},       {22, "6"},       {23, "5"},       {24, "="},      {25, "9"},
        {26, "7"},       {27, "-"},       {28, "8"},       {29, "0"},      {30, "]"},
        {31, "O"},       {32, "U"},       {33, "["},       {34, "I"},      {35, "P"},
        {36, "\u21A9"},  {37, "L"},       {38, "J"},       {39, "'"},      {40, "K"},
        {41, ";"},       {42, "\\"},      {43, ","},       {44, "/"},      {45, "N"},
        {46, "M"},       {47, "."},       {48, "Tab"},     {49, "Space"},  {50, "`"},
        {51, "\u232B"},  {52, "\u21A9"},  {53, "Esc"},     {76, "\u23CE"}, {123, "\u2190"},
        {124, "\u2192"}, {125, "\u2193"}, {126, "\u2191"},
    };
    return names;
}

// The desktop names the modifiers and may name the key; the table names the rest.
std::string formatShortcut() {
    const int keyCode = Settings::keyCode();
    const uint64_t modifiers = Settings::modifiers();
    const platform::KeyNaming& naming = platform::keyNaming();
    std::vector<std::string> parts;
    for (const uint64_t flag : {Settings::controlFlag, Settings::optionFlag, Settings::shiftFlag,
                                Settings::commandFlag, Settings::functionFlag})
        if (modifiers & flag) parts.push_back(naming.modifierName(flag));
    if (auto own = naming.keyName(keyCode)) {
        parts.push_back(*own);
    } else {
        const auto name = keyNames().find(keyCode);
        parts.push_back(name != keyNames().end() ? name->second : "Key" + std::to_string(keyCode));
    }
    std::string text;
    for (const auto& part : parts)
        text += (text.empty() ? "" : "+") + part;
    return text;
}
