#pragma once

// The Wayland test client (tools/waylandclient) on a headless KWin: a window of one colour,
// resized and recoloured through commands on its standard input.
//
//   WaylandTestClient client(kwin.environment(), {"--width", "300", "--color", "3366CC"});
//   ASSERT_TRUE(client.command("resize 400 250"));
//   ASSERT_TRUE(client.recolor(0xCC3333));
//   EXPECT_TRUE(client.waitForLine("activated", std::chrono::seconds(2)));
//   client.kill();

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/ChildProcess.h"

class WaylandTestClient {
public:
    // Throws std::runtime_error unless the window shows within a few seconds.
    WaylandTestClient(const std::map<std::string, std::string>& environment,
                      const std::vector<std::string>& options = {});
    ~WaylandTestClient();
    WaylandTestClient(const WaylandTestClient&) = delete;
    WaylandTestClient& operator=(const WaylandTestClient&) = delete;

    pid_t pid() const { return process_->pid(); }
    // Sends one command; true once it answered "ok".
    bool command(const std::string& line,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // The next line it printed by itself ("pressed X Y", "activated") that starts with `prefix`,
    // once printed within `timeout`; the lines before it are dropped.
    // Paints the window in `color` (0xRRGGBB); true once it answered.
    bool recolor(uint32_t color) { return command("color " + colorName(color)); }
    // "RRGGBB", as the --color option and the colour command take it.
    static std::string colorName(uint32_t color);
    std::optional<std::string> waitForLine(const std::string& prefix,
                                           std::chrono::milliseconds timeout);
    // Closes its input: the window closes and the client ends.
    void close();
    void kill() { process_->stop(std::chrono::milliseconds(0)); }
    std::optional<int> waitForExit(std::chrono::milliseconds timeout) {
        return process_->waitForExit(timeout);
    }

private:
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);

    std::unique_ptr<ChildProcess> process_;
    int input_ = -1;
    int output_ = -1;
    std::string buffer_;
    std::deque<std::string> told_;  // lines it printed by itself, oldest first
};
