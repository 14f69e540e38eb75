#include "platform/desktop/wayland/WaylandKeyCodes.h"

#include <X11/keysym.h>

#include <map>
#include <optional>

#include "platform/KeyNaming.h"
#include "platform/desktop/x11/X11KeyCodes.h"

namespace desktop {
namespace {

// Kernel key codes to virtual key codes: both name a key by its place on the keyboard.
// clang-format off
const std::map<uint32_t, uint16_t>& virtualKeys() {
    static const std::map<uint32_t, uint16_t> keys = {
        {1, 53},   {2, 18},   {3, 19},   {4, 20},   {5, 21},   {6, 23},   {7, 22},   {8, 26},
        {9, 28},   {10, 25},  {11, 29},  {12, 27},  {13, 24},  {14, 51},  {15, 48},  {16, 12},
        {17, 13},  {18, 14},  {19, 15},  {20, 17},  {21, 16},  {22, 32},  {23, 34},  {24, 31},
        {25, 35},  {26, 33},  {27, 30},  {28, 36},  {30, 0},   {31, 1},   {32, 2},   {33, 3},
        {34, 5},   {35, 4},   {36, 38},  {37, 40},  {38, 37},  {39, 41},  {40, 39},  {41, 50},
        {43, 42},  {44, 6},   {45, 7},   {46, 8},   {47, 9},   {48, 11},  {49, 45},  {50, 46},
        {51, 43},  {52, 47},  {53, 44},  {55, 67},  {57, 49},  {59, 122}, {60, 120}, {61, 99},
        {62, 118}, {63, 96},  {64, 97},  {65, 98},  {66, 100}, {67, 101}, {68, 109}, {71, 89},
        {72, 91},  {73, 92},  {74, 78},  {75, 86},  {76, 87},  {77, 88},  {78, 69},  {79, 83},
        {80, 84},  {81, 85},  {82, 82},  {83, 65},  {87, 103}, {88, 111}, {96, 76},  {98, 75},
        {102, 115}, {103, 126}, {104, 116}, {105, 123}, {106, 124}, {107, 119}, {108, 125},
        {109, 121}, {110, 114}, {111, 117}, {117, 81},
    };
    return keys;
}
// clang-format on

constexpr uint32_t shiftMask = 0x1;

bool isCapital(uint32_t keysym) {
    return keysym >= XK_A && keysym <= XK_Z;
}

bool isLetter(uint32_t keysym) {
    return isCapital(keysym) || (keysym >= XK_a && keysym <= XK_z);
}

// Only a key's own unshifted legend names it: a symbol that the US layout puts on the
// shifted level of another key ('#' over '3') would name the wrong key.
std::optional<uint16_t> keyOfSymbol(uint32_t keysym, uint32_t modifiers) {
    if ((modifiers & shiftMask) && !isLetter(keysym)) return std::nullopt;
    const uint32_t legend = isCapital(keysym) ? keysym - XK_A + XK_a : keysym;
    const auto keyCode = X11KeyCodes::keyCodeOf(legend);
    if (!keyCode || X11KeyCodes::keysymOf(*keyCode) != legend) return std::nullopt;
    return static_cast<uint16_t>(*keyCode);
}

uint16_t keyOfPlace(uint32_t keycode) {
    const auto found = keycode >= 8 ? virtualKeys().find(keycode - 8) : virtualKeys().end();
    return found != virtualKeys().end() ? found->second : platform::KeyNaming::unnamedKey;
}

uint64_t flagsOf(uint32_t modifiers) {
    uint64_t flags = 0;
    if (modifiers & shiftMask) flags |= 0x20000;  // shift
    if (modifiers & 0x4) flags |= 0x40000;        // control
    if (modifiers & 0x8) flags |= 0x80000;        // alt: option
    if (modifiers & 0x40) flags |= 0x100000;      // super: command
    return flags;
}

}  // namespace

platform::KeyEvent waylandKeyEvent(uint32_t keycode, uint32_t keysym, uint32_t modifiers) {
    const uint16_t key = keyOfSymbol(keysym, modifiers).value_or(keyOfPlace(keycode));
    return {key, flagsOf(modifiers)};
}

}  // namespace desktop
