#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <string>

class ClientWindow;

// Reads commands from standard input, one a line, answers each with "ok NAME ..." or
// "error NAME: why", and serves the window's events and animation meanwhile.
class CommandLoop {
public:
    // `window` may be null (a client that only holds a key): then only quit works.
    CommandLoop(xcb_connection_t* connection, ClientWindow* window);

    // Runs until quit, close, end of input or loss of the window; the exit status.
    int run();

private:
    struct Animation {
        int64_t startNs = 0;
        int64_t periodNs = 0;
        uint64_t total = 0;
        uint64_t shown = 0;
        int scrollRows = 0;  // 0: the whole window changes each frame
        int rowHeight = 0;
    };

    bool readInput();
    bool execute(const std::string& line);
    std::string windowCommand(const std::string& name, const std::string& arguments);
    std::string patch(const std::string& arguments);
    std::string startAnimation(const std::string& arguments);
    std::string startScroll(const std::string& arguments);
    void animate();
    bool serveEvents();
    int pollTimeoutMs() const;

    xcb_connection_t* connection_;
    ClientWindow* window_;
    std::string input_;
    Animation animation_;
    bool done_ = false;
    int status_ = 0;
};
