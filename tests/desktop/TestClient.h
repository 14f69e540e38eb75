#pragma once

// The test client (tools/testclient) on a test's display: a window of a known colour with a
// frame counter, driven through commands on its standard input.
//
//   TestClient client(desktop.display(), {.width = 300, .height = 200, .x = 100, .y = 100,
//                                          .color = 0x3366CC});
//   client.window();                          // its X window id, shown and painted
//   ASSERT_TRUE(client.command("move 200 150"));
//   client.send("animate 60 5");              // then readLine() gives "frame N NS RRGGBB"
//   TestClient holder(desktop.display(), {.grabKey = "alt+p"});   // holds Alt + P

#include <xcb/xcb.h>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "desktop/ChildProcess.h"
#include "testclient/ClientOptions.h"

class TestClient {
public:
    // Throws std::runtime_error unless the client says "ready" within a few seconds.
    explicit TestClient(const std::string& display, const ClientOptions& options = {});
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    xcb_window_t window() const { return window_; }
    pid_t pid() const { return process_->pid(); }

    // Sends one command and waits for its answer; true on "ok". The answer, or what went
    // wrong, is in lastReply().
    bool command(const std::string& line,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5));
    const std::string& lastReply() const { return lastReply_; }
    void send(const std::string& line);
    // The next line of output that no command took as its answer.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);

    // Closes its standard input (the client exits cleanly) and waits.
    std::optional<int> closeInput(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    void kill() { process_->stop(std::chrono::milliseconds(0)); }
    std::optional<int> waitForExit(std::chrono::milliseconds timeout) {
        return process_->waitForExit(timeout);
    }

private:
    std::optional<std::string> nextLine(std::chrono::milliseconds timeout);

    std::unique_ptr<ChildProcess> process_;
    int input_ = -1;
    int output_ = -1;
    std::string buffer_;
    std::deque<std::string> unclaimed_;
    std::string lastReply_;
    xcb_window_t window_ = XCB_NONE;
};
