#include "platform/desktop/x11/X11KeyCodes.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

#include "platform/desktop/x11/X11Connection.h"

namespace desktop {
namespace {

struct KeyPair {
    uint32_t keyCode;
    xcb_keysym_t keysym;
};

// Virtual key codes name the keys of the US layout by position. 52 is the Enter key of old
// laptops, which X keyboards rarely have; the key in the Insert position reports as 114.
// clang-format off
constexpr KeyPair keys[] = {
    {0, XK_a},              {1, XK_s},              {2, XK_d},              {3, XK_f},
    {4, XK_h},              {5, XK_g},              {6, XK_z},              {7, XK_x},
    {8, XK_c},              {9, XK_v},              {11, XK_b},             {12, XK_q},
    {13, XK_w},             {14, XK_e},             {15, XK_r},             {16, XK_y},
    {17, XK_t},             {18, XK_1},             {19, XK_2},             {20, XK_3},
    {21, XK_4},             {22, XK_6},             {23, XK_5},             {24, XK_equal},
    {25, XK_9},             {26, XK_7},             {27, XK_minus},         {28, XK_8},
    {29, XK_0},             {30, XK_bracketright},  {31, XK_o},             {32, XK_u},
    {33, XK_bracketleft},   {34, XK_i},             {35, XK_p},             {36, XK_Return},
    {37, XK_l},             {38, XK_j},             {39, XK_apostrophe},    {40, XK_k},
    {41, XK_semicolon},     {42, XK_backslash},     {43, XK_comma},         {44, XK_slash},
    {45, XK_n},             {46, XK_m},             {47, XK_period},        {48, XK_Tab},
    {49, XK_space},         {50, XK_grave},         {51, XK_BackSpace},     {53, XK_Escape},
    {52, XK_ISO_Enter},     {65, XK_KP_Decimal},    {67, XK_KP_Multiply},   {69, XK_KP_Add},
    {71, XK_Clear},         {75, XK_KP_Divide},     {76, XK_KP_Enter},      {78, XK_KP_Subtract},
    {81, XK_KP_Equal},      {82, XK_KP_0},          {83, XK_KP_1},          {84, XK_KP_2},
    {85, XK_KP_3},          {86, XK_KP_4},          {87, XK_KP_5},          {88, XK_KP_6},
    {89, XK_KP_7},          {91, XK_KP_8},          {92, XK_KP_9},          {122, XK_F1},
    {120, XK_F2},           {99, XK_F3},            {118, XK_F4},           {96, XK_F5},
    {97, XK_F6},            {98, XK_F7},            {100, XK_F8},           {101, XK_F9},
    {109, XK_F10},          {103, XK_F11},          {111, XK_F12},          {105, XK_F13},
    {107, XK_F14},          {113, XK_F15},          {106, XK_F16},          {64, XK_F17},
    {79, XK_F18},           {80, XK_F19},           {90, XK_F20},           {114, XK_Insert},
    {115, XK_Home},         {116, XK_Page_Up},      {117, XK_Delete},       {119, XK_End},
    {121, XK_Page_Down},    {123, XK_Left},         {124, XK_Right},        {125, XK_Down},
    {126, XK_Up},
};
// clang-format on

// Keysyms on other levels of the same keys: shifted legends of the US layout, capitals,
// and the keypad without NumLock.
// clang-format off
constexpr KeyPair aliases[] = {
    {18, XK_exclam},        {19, XK_at},            {20, XK_numbersign},    {21, XK_dollar},
    {23, XK_percent},       {22, XK_asciicircum},   {26, XK_ampersand},     {28, XK_asterisk},
    {25, XK_parenleft},     {29, XK_parenright},    {27, XK_underscore},    {24, XK_plus},
    {33, XK_braceleft},     {30, XK_braceright},    {42, XK_bar},           {41, XK_colon},
    {39, XK_quotedbl},      {43, XK_less},          {47, XK_greater},       {44, XK_question},
    {50, XK_asciitilde},    {48, XK_ISO_Left_Tab},  {82, XK_KP_Insert},     {83, XK_KP_End},
    {84, XK_KP_Down},       {85, XK_KP_Next},       {86, XK_KP_Left},       {87, XK_KP_Begin},
    {88, XK_KP_Right},      {89, XK_KP_Home},       {91, XK_KP_Up},         {92, XK_KP_Prior},
    {65, XK_KP_Delete},
};
// clang-format on

const std::map<xcb_keysym_t, uint32_t>& keyCodesByKeysym() {
    static const std::map<xcb_keysym_t, uint32_t> table = [] {
        std::map<xcb_keysym_t, uint32_t> built;
        for (const KeyPair& pair : keys)
            built.emplace(pair.keysym, pair.keyCode);
        for (const KeyPair& pair : aliases)
            built.emplace(pair.keysym, pair.keyCode);
        for (const KeyPair& pair : keys)
            if (pair.keysym >= XK_a && pair.keysym <= XK_z)
                built.emplace(pair.keysym - XK_a + XK_A, pair.keyCode);
        return built;
    }();
    return table;
}

constexpr std::pair<uint32_t, uint16_t> maskBits[] = {
    {0x0100, XCB_MOD_MASK_4},
    {0x0200, XCB_MOD_MASK_SHIFT},
    {0x0800, XCB_MOD_MASK_1},
    {0x1000, XCB_MOD_MASK_CONTROL},
};

constexpr std::pair<uint16_t, uint64_t> flagBits[] = {
    {XCB_MOD_MASK_SHIFT, 0x20000},
    {XCB_MOD_MASK_CONTROL, 0x40000},
    {XCB_MOD_MASK_1, 0x80000},
    {XCB_MOD_MASK_4, 0x100000},
};

// Keysym columns of the core mapping: two levels of the first two groups.
constexpr int keysymColumns = 4;

}  // namespace

std::optional<xcb_keysym_t> X11KeyCodes::keysymOf(uint32_t keyCode) {
    const auto found =
        std::find_if(std::begin(keys), std::end(keys),
                     [keyCode](const KeyPair& pair) { return pair.keyCode == keyCode; });
    if (found == std::end(keys)) return std::nullopt;
    return found->keysym;
}

std::optional<uint32_t> X11KeyCodes::keyCodeOf(xcb_keysym_t keysym) {
    const auto& table = keyCodesByKeysym();
    const auto found = table.find(keysym);
    if (found == table.end()) return std::nullopt;
    return found->second;
}

uint64_t X11KeyCodes::modifierFlagsOf(uint16_t state) {
    uint64_t flags = 0;
    for (const auto& [bit, flag] : flagBits)
        if (state & bit) flags |= flag;
    return flags;
}

uint16_t X11KeyCodes::modifierStateOfMask(uint32_t mask) {
    uint16_t state = 0;
    for (const auto& [bit, modifier] : maskBits)
        if (mask & bit) state |= modifier;
    return state;
}

X11KeyCodes::X11KeyCodes(xcb_connection_t* connection)
    : connection_(connection), symbols_(xcb_key_symbols_alloc(connection), &xcb_key_symbols_free) {}

std::vector<xcb_keycode_t> X11KeyCodes::keycodesOf(xcb_keysym_t keysym) const {
    std::vector<xcb_keycode_t> found;
    if (!symbols_) return found;
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols_.get(), keysym);
    for (xcb_keycode_t* code = codes; code != nullptr && *code != XCB_NO_SYMBOL; ++code)
        found.push_back(*code);
    std::free(codes);
    return found;
}

std::vector<xcb_keycode_t> X11KeyCodes::keycodesOfKeyCode(uint32_t keyCode) const {
    const auto keysym = keysymOf(keyCode);
    return keysym ? keycodesOf(*keysym) : std::vector<xcb_keycode_t>{};
}

std::optional<X11KeyStroke> X11KeyCodes::strokeOf(const xcb_key_press_event_t& event) const {
    if (!symbols_) return std::nullopt;
    auto* symbols = symbols_.get();
    for (int column = 0; column < keysymColumns; ++column) {
        const xcb_keysym_t keysym = xcb_key_symbols_get_keysym(symbols, event.detail, column);
        if (const auto keyCode = keyCodeOf(keysym))
            return X11KeyStroke{*keyCode, modifierFlagsOf(event.state)};
    }
    return std::nullopt;
}

uint16_t X11KeyCodes::numLockMask() const {
    const std::vector<xcb_keycode_t> numLock = keycodesOf(XK_Num_Lock);
    const auto cookie = xcb_get_modifier_mapping(connection_);
    const auto reply = xreply(xcb_get_modifier_mapping_reply(connection_, cookie, nullptr));
    if (!reply || numLock.empty()) return 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < perModifier; ++i)
            if (std::count(numLock.begin(), numLock.end(), codes[modifier * perModifier + i]))
                return static_cast<uint16_t>(1u << modifier);
    return 0;
}

void X11KeyCodes::refresh(const xcb_mapping_notify_event_t& event) {
    if (symbols_)
        xcb_refresh_keyboard_mapping(symbols_.get(),
                                     const_cast<xcb_mapping_notify_event_t*>(&event));
}

void X11KeyCodes::reload() {
    symbols_.reset(xcb_key_symbols_alloc(connection_));
}

}  // namespace desktop
