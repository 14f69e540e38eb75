#include "FrameLine.h"

#include <sstream>

#include "desktop/TestClient.h"

std::optional<FrameLine> FrameLine::parse(const std::string& line) {
    std::istringstream words(line);
    std::string word, color;
    FrameLine frame;
    if (!(words >> word) || word != "frame") return std::nullopt;
    if (!(words >> frame.number >> frame.drawnNs >> color)) return std::nullopt;
    try {
        frame.color = static_cast<uint32_t>(std::stoul(color, nullptr, 16));
    } catch (...) {
        return std::nullopt;
    }
    return frame;
}

std::optional<FrameLine> FrameLine::next(TestClient& client, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const auto line = client.readLine(std::max(left, std::chrono::milliseconds(0)));
        if (!line) return std::nullopt;
        if (auto frame = parse(*line)) return frame;
    }
}

void FrameLine::discardAll(TestClient& client) {
    while (client.readLine(std::chrono::milliseconds(0))) {
    }
}
