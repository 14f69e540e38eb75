#include <xcb/xtest.h>

#include <cstdlib>
#include <thread>

#include "desktop/XDriver.h"
#include "testclient/KeyCombination.h"

void XDriver::fake(uint8_t type, uint8_t detail, int x, int y) {
    xcb_test_fake_input(connection_, type, detail, XCB_CURRENT_TIME, root(),
                        static_cast<int16_t>(x), static_cast<int16_t>(y), 0);
}

void XDriver::fakeKey(uint32_t keysym, bool press) {
    const xcb_keycode_t code = keycode(keysym);
    if (code != 0) fake(press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code);
}

xcb_keycode_t XDriver::keycode(uint32_t keysym) {
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(keySymbols_, keysym);
    const xcb_keycode_t code = codes != nullptr ? codes[0] : 0;
    std::free(codes);
    return code;
}

// The symbols table keeps the mapping it read first, whatever changed since.
void XDriver::reloadKeyboard() {
    xcb_key_symbols_free(keySymbols_);
    keySymbols_ = xcb_key_symbols_alloc(connection_);
}

bool XDriver::key(const std::string& combination) {
    const auto parsed = KeyCombination::parse(combination);
    if (!parsed || keycode(parsed->keysym) == 0) return false;
    for (const uint32_t modifier : parsed->modifierKeys)
        fakeKey(modifier, true);
    fakeKey(parsed->keysym, true);
    fakeKey(parsed->keysym, false);
    for (auto modifier = parsed->modifierKeys.rbegin(); modifier != parsed->modifierKeys.rend();
         ++modifier)
        fakeKey(*modifier, false);
    sync();
    return true;
}

void XDriver::moveMouse(int x, int y) {
    fake(XCB_MOTION_NOTIFY, 0, x, y);  // detail 0: absolute position
    sync();
}

void XDriver::buttonDown(int button) {
    fake(XCB_BUTTON_PRESS, static_cast<uint8_t>(button));
    sync();
}

void XDriver::buttonUp(int button) {
    fake(XCB_BUTTON_RELEASE, static_cast<uint8_t>(button));
    sync();
}

void XDriver::click(int x, int y, int button) {
    moveMouse(x, y);
    buttonDown(button);
    buttonUp(button);
}

void XDriver::drag(int fromX, int fromY, int toX, int toY, int steps) {
    constexpr auto pace = std::chrono::milliseconds(20);
    moveMouse(fromX, fromY);
    buttonDown();
    for (int step = 1; step <= steps; ++step) {
        std::this_thread::sleep_for(pace);
        moveMouse(fromX + (toX - fromX) * step / steps, fromY + (toY - fromY) * step / steps);
    }
    std::this_thread::sleep_for(pace);
    buttonUp();
}

std::optional<Image> XDriver::capture(const Rect& area) {
    std::string error;
    return Image::grab(connection_, root(), area.x, area.y, area.width, area.height, error);
}

uint32_t XDriver::pixel(int x, int y) {
    const auto image = capture({x, y, 1, 1});
    return image ? image->at(0, 0) : 0xffffffffu;
}

bool XDriver::screenshot(const std::string& path) {
    std::string error;
    const auto image = capture({0, 0, width(), height()});
    return image && image->writePng(path, error);
}

bool XDriver::similar(uint32_t a, uint32_t b, int tolerance) {
    if (a > 0xffffff || b > 0xffffff) return false;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int difference =
            static_cast<int>(a >> shift & 0xff) - static_cast<int>(b >> shift & 0xff);
        if (std::abs(difference) > tolerance) return false;
    }
    return true;
}
