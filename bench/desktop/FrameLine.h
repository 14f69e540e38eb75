#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

class TestClient;

// One frame that the animating test client drew: "frame N MONOTONIC-NS RRGGBB".
struct FrameLine {
    uint64_t number = 0;
    int64_t drawnNs = 0;
    uint32_t color = 0;

    static std::optional<FrameLine> parse(const std::string& line);
    // The next frame line the client printed within `timeout`, skipping other lines.
    static std::optional<FrameLine> next(TestClient& client, std::chrono::milliseconds timeout);
    // Reads away whatever the client printed so far.
    static void discardAll(TestClient& client);
};
