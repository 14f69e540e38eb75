#pragma once

// A test's own X connection to a display: real input through XTEST, pixels read back from
// the screen, and what the window manager and other clients say about windows.
//
//   XDriver x(desktop.display());
//   x.key("alt+p");                                  // press and release, modifiers too
//   x.click(500, 400);                               // root coordinates, button 1
//   auto frame = x.frameRect(client.window());       // the WM frame the user sees
//   EXPECT_TRUE(XDriver::waitUntil([&] { return x.overrideRedirectWindows().size() == 1; },
//                                  std::chrono::seconds(3)));
//   EXPECT_TRUE(XDriver::similar(x.pixel(10, 10), 0x66746A, 8));
//   x.screenshot("/tmp/what-the-user-saw.png");

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "testclient/Image.h"

class XDriver {
public:
    struct Rect {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;

        bool operator==(const Rect&) const = default;
        Rect grownBy(int margin) const {
            return {x - margin, y - margin, width + 2 * margin, height + 2 * margin};
        }
    };
    struct TopLevel {
        xcb_window_t window = XCB_NONE;
        Rect rect;
    };

    // Throws std::runtime_error when the display cannot be opened or lacks XTEST.
    explicit XDriver(const std::string& display);
    ~XDriver();
    XDriver(const XDriver&) = delete;
    XDriver& operator=(const XDriver&) = delete;

    xcb_connection_t* connection() const { return connection_; }
    xcb_window_t root() const { return screen_->root; }
    int width() const { return screen_->width_in_pixels; }
    int height() const { return screen_->height_in_pixels; }
    // A round trip: every request sent so far has been carried out.
    void sync();

    xcb_atom_t atom(const std::string& name);
    std::vector<uint32_t> cardinals(xcb_window_t window, const std::string& property,
                                    xcb_atom_t type = XCB_ATOM_CARDINAL);
    std::optional<uint32_t> cardinal(xcb_window_t window, const std::string& property,
                                     xcb_atom_t type = XCB_ATOM_CARDINAL);
    xcb_window_t selectionOwner(const std::string& selection);
    // A text property of the root window, as xrdb sets RESOURCE_MANAGER.
    void setRootText(const std::string& property, const std::string& text);
    // A client message to the root window, as pagers and clients send them to the WM.
    void sendRootMessage(xcb_window_t window, const std::string& type, std::vector<uint32_t> data);
    // Whether the extension (its X protocol name, "Composite", "XInputExtension") is present.
    bool hasExtension(const std::string& name);

    // Input through XTEST. Combinations as KeyCombination reads them: "alt+p", "num_lock".
    bool key(const std::string& combination);
    // The first key code that types `keysym`; 0 when no key does.
    xcb_keycode_t keycode(uint32_t keysym);
    // Reads the keyboard mapping afresh, after a test changed it.
    void reloadKeyboard();
    void moveMouse(int x, int y);
    void buttonDown(int button = 1);
    void buttonUp(int button = 1);
    void click(int x, int y, int button = 1);
    // Presses button 1 at (fromX, fromY), moves to (toX, toY) in `steps` paced steps, as a
    // hand would (a window manager reads the pointer when the drag starts), and releases.
    void drag(int fromX, int fromY, int toX, int toY, int steps = 10);

    // Pixels of the root window as the user sees them (0xRRGGBB).
    std::optional<Image> capture(const Rect& area);
    uint32_t pixel(int x, int y);
    bool screenshot(const std::string& path);
    static bool similar(uint32_t a, uint32_t b, int tolerance);

    xcb_window_t activeWindow();
    std::optional<Rect> rect(xcb_window_t window);  // in root coordinates, border included
    // The child of the root that holds `window` (the WM frame of a managed client).
    xcb_window_t topLevelOf(xcb_window_t window);
    std::optional<Rect> frameRect(xcb_window_t client) { return rect(topLevelOf(client)); }
    // Children of the root, bottom to top; -1 when `window` is not (or no longer) among them.
    std::vector<xcb_window_t> stackingOrder();
    int stackIndex(xcb_window_t topLevel);
    // Mapped override-redirect children of the root that reach into the screen (panels, menus,
    // tooltips), bottom to top.
    std::vector<TopLevel> overrideRedirectWindows();

    // Polls `condition` every `interval` until it holds or `timeout` passes.
    static bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                          std::chrono::milliseconds interval = std::chrono::milliseconds(10));

private:
    bool onScreen(const Rect& area) const;
    void fakeKey(uint32_t keysym, bool press);
    void fake(uint8_t type, uint8_t detail, int x = 0, int y = 0);

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    xcb_key_symbols_t* keySymbols_ = nullptr;
};

std::ostream& operator<<(std::ostream& out, const XDriver::Rect& rect);
