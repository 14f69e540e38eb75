#include "platform/desktop/wayland/KGlobalAccelKeys.h"

#include <QtCore/qnamespace.h>

#include <map>

namespace desktop {
namespace {

constexpr int keypad(Qt::Key key) {
    return int(Qt::KeypadModifier) | int(key);
}

// Virtual key codes name keys by their place on the US layout; Qt names them by their
// unshifted legend there, letters as capitals.
// clang-format off
const std::map<uint32_t, int>& qtKeys() {
    static const std::map<uint32_t, int> keys = {
        {0, Qt::Key_A},  {1, Qt::Key_S},  {2, Qt::Key_D},  {3, Qt::Key_F},  {4, Qt::Key_H},
        {5, Qt::Key_G},  {6, Qt::Key_Z},  {7, Qt::Key_X},  {8, Qt::Key_C},  {9, Qt::Key_V},
        {11, Qt::Key_B}, {12, Qt::Key_Q}, {13, Qt::Key_W}, {14, Qt::Key_E}, {15, Qt::Key_R},
        {16, Qt::Key_Y}, {17, Qt::Key_T}, {18, Qt::Key_1}, {19, Qt::Key_2}, {20, Qt::Key_3},
        {21, Qt::Key_4}, {22, Qt::Key_6}, {23, Qt::Key_5}, {24, Qt::Key_Equal},
        {25, Qt::Key_9}, {26, Qt::Key_7}, {27, Qt::Key_Minus}, {28, Qt::Key_8},
        {29, Qt::Key_0}, {30, Qt::Key_BracketRight}, {31, Qt::Key_O}, {32, Qt::Key_U},
        {33, Qt::Key_BracketLeft}, {34, Qt::Key_I}, {35, Qt::Key_P}, {36, Qt::Key_Return},
        {37, Qt::Key_L}, {38, Qt::Key_J}, {39, Qt::Key_Apostrophe}, {40, Qt::Key_K},
        {41, Qt::Key_Semicolon}, {42, Qt::Key_Backslash}, {43, Qt::Key_Comma},
        {44, Qt::Key_Slash}, {45, Qt::Key_N}, {46, Qt::Key_M}, {47, Qt::Key_Period},
        {48, Qt::Key_Tab}, {49, Qt::Key_Space}, {50, Qt::Key_QuoteLeft},
        {51, Qt::Key_Backspace}, {52, Qt::Key_Enter}, {53, Qt::Key_Escape},
        {71, Qt::Key_Clear}, {122, Qt::Key_F1}, {120, Qt::Key_F2}, {99, Qt::Key_F3},
        {118, Qt::Key_F4}, {96, Qt::Key_F5}, {97, Qt::Key_F6}, {98, Qt::Key_F7},
        {100, Qt::Key_F8}, {101, Qt::Key_F9}, {109, Qt::Key_F10}, {103, Qt::Key_F11},
        {111, Qt::Key_F12}, {105, Qt::Key_F13}, {107, Qt::Key_F14}, {113, Qt::Key_F15},
        {106, Qt::Key_F16}, {64, Qt::Key_F17}, {79, Qt::Key_F18}, {80, Qt::Key_F19},
        {90, Qt::Key_F20}, {114, Qt::Key_Insert}, {115, Qt::Key_Home},
        {116, Qt::Key_PageUp}, {117, Qt::Key_Delete}, {119, Qt::Key_End},
        {121, Qt::Key_PageDown}, {123, Qt::Key_Left}, {124, Qt::Key_Right},
        {125, Qt::Key_Down}, {126, Qt::Key_Up},
        // the keypad: Qt tells its keys apart by a modifier
        {65, keypad(Qt::Key_Period)}, {67, keypad(Qt::Key_Asterisk)},
        {69, keypad(Qt::Key_Plus)}, {75, keypad(Qt::Key_Slash)},
        {76, keypad(Qt::Key_Enter)}, {78, keypad(Qt::Key_Minus)},
        {81, keypad(Qt::Key_Equal)}, {82, keypad(Qt::Key_0)},
        {83, keypad(Qt::Key_1)}, {84, keypad(Qt::Key_2)},
        {85, keypad(Qt::Key_3)}, {86, keypad(Qt::Key_4)},
        {87, keypad(Qt::Key_5)}, {88, keypad(Qt::Key_6)},
        {89, keypad(Qt::Key_7)}, {91, keypad(Qt::Key_8)},
        {92, keypad(Qt::Key_9)},
    };
    return keys;
}
// clang-format on

constexpr uint32_t command = 0x100;
constexpr uint32_t shift = 0x200;
constexpr uint32_t option = 0x800;
constexpr uint32_t control = 0x1000;

}  // namespace

std::optional<int> kglobalAccelKeyOf(uint32_t keyCode, uint32_t modifiers) {
    const auto found = qtKeys().find(keyCode);
    if (found == qtKeys().end()) return std::nullopt;
    int key = found->second;
    if (modifiers & command) key |= Qt::META;
    if (modifiers & shift) key |= Qt::SHIFT;
    if (modifiers & option) key |= Qt::ALT;
    if (modifiers & control) key |= Qt::CTRL;
    return key;
}

}  // namespace desktop
