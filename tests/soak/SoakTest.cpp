#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "soak/SoakSession.h"

namespace {

// Sanitizers slow every line down several times over; they play fewer sessions.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr uint32_t seeds = 60;
#else
constexpr uint32_t seeds = 300;
#endif
constexpr int linesPerSession = 300;

bool stillBreaks(const std::vector<std::string>& lines) {
    SoakSession session;
    return session.replay(lines).has_value();
}

// The shortest list found that still breaks: chunks, then single lines, are left out
// while what remains keeps breaking.
std::vector<std::string> shrink(std::vector<std::string> lines) {
    for (size_t chunk = lines.size() / 2; chunk >= 1; chunk /= 2) {
        for (size_t at = 0; at + chunk <= lines.size();) {
            std::vector<std::string> shorter(lines.begin(), lines.begin() + at);
            shorter.insert(shorter.end(), lines.begin() + at + chunk, lines.end());
            if (stillBreaks(shorter)) {
                lines = std::move(shorter);
            } else {
                at += chunk;
            }
        }
    }
    return lines;
}

std::string asScenario(const std::vector<std::string>& lines) {
    std::string text = SoakSession::scene;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

TEST(Soak, LongRandomSessionsKeepEveryPinPanelAndLogRecordSound) {
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t seed = 1; seed <= seeds; ++seed) {
        std::vector<std::string> played;
        std::optional<std::string> failure;
        {
            SoakSession session;
            failure = session.playRandom(seed, linesPerSession);
            played = session.played();
        }
        if (!failure) continue;
        const auto shortest = shrink(played);
        std::optional<std::string> shortFailure;
        {
            SoakSession session;
            shortFailure = session.replay(shortest);
        }
        ADD_FAILURE() << "seed " << seed << ": " << *failure << "\nshortest scenario ("
                      << shortFailure.value_or("does not break alone") << "):\n"
                      << asScenario(shortest);
        return;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::cout << seeds << " sessions of " << linesPerSession << " lines in " << took.count()
              << " s\n";
}

}  // namespace
