#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/X11Connection.h"

// A headless display of the input tests' own: Xvfb on a display number the server picks,
// openbox when asked, and XTEST input sent on a connection of the test.
class InputDesktop {
public:
    // Nothing (with the reason added to the current test's failures) when it does not come up.
    static std::unique_ptr<InputDesktop> start(bool windowManager);
    ~InputDesktop();

    const std::string& display() const { return display_; }
    desktop::X11Connection& input() { return *input_; }

    void key(xcb_keysym_t keysym, bool press);
    void tap(xcb_keysym_t keysym);  // press and release
    void button(uint8_t button, bool press);
    void moveTo(int x, int y);
    // Returns once the server has handled everything sent so far.
    void sync();
    xcb_keycode_t keycode(xcb_keysym_t keysym);
    // Runs a command of the X utilities on this display; true when it succeeds.
    bool run(const std::vector<std::string>& command);
    // The display goes away under its clients.
    void stopServer();

private:
    InputDesktop() = default;
    bool startServer();
    bool startWindowManager();
    void fake(uint8_t type, uint8_t detail, int x = 0, int y = 0);

    std::string display_;
    pid_t server_ = -1;
    pid_t windowManager_ = -1;
    std::shared_ptr<desktop::X11Connection> input_;
};
