#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ClientOptions.h"
#include "ClientWindow.h"
#include "CommandLoop.h"
#include "Image.h"
#include "KeyCombination.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "veltrin_test_client: %s\n", message.c_str());
    return 1;
}

void sayReady(xcb_window_t window) {
    std::printf("ready 0x%x\n", window);
    std::fflush(stdout);
}

int screenshot(xcb_connection_t* connection, xcb_screen_t* screen, const std::string& path) {
    std::string error;
    const auto image = Image::grab(connection, screen->root, 0, 0, screen->width_in_pixels,
                                   screen->height_in_pixels, error);
    if (!image || !image->writePng(path, error)) return fail(error);
    std::printf("%s\n", path.c_str());
    return 0;
}

// Holds the combination on the root until told to quit, as another program's shortcut would.
int grabKey(xcb_connection_t* connection, xcb_screen_t* screen, const std::string& text) {
    const auto combination = KeyCombination::parse(text);
    if (!combination) return fail("unknown key combination " + text);
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, combination->keysym);
    const xcb_keycode_t code = codes != nullptr ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    if (code == 0) return fail("no key code for " + text);
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_grab_key_checked(connection, 1, screen->root, combination->modifierMask,
                                         code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (error != nullptr) {
        std::free(error);
        return fail("cannot grab " + text + ": another client holds it");
    }
    sayReady(screen->root);
    return CommandLoop(connection, nullptr).run();
}

int showWindow(xcb_connection_t* connection, xcb_screen_t* screen, const ClientOptions& options) {
    ClientWindow window(connection, screen, options);
    if (!window.showAndWait()) return fail("the window was never shown");
    sayReady(window.id());
    return CommandLoop(connection, &window).run();
}

}  // namespace

int main(int argc, char** argv) {
    ClientOptions options;
    std::string error;
    if (!ClientOptions::parse(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "veltrin_test_client: %s\n%s", error.c_str(), ClientOptions::usage());
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t* connection =
        xcb_connect(options.display ? options.display->c_str() : nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return fail("cannot open the X display");
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    int status = 0;
    if (options.screenshot) {
        status = screenshot(connection, screens.data, *options.screenshot);
    } else if (options.grabKey) {
        status = grabKey(connection, screens.data, *options.grabKey);
    } else {
        status = showWindow(connection, screens.data, options);
    }
    xcb_disconnect(connection);
    return status;
}
