#pragma once

#include <cstdint>
#include <string>

// The words of a scenario line as numbers, each kept within what the simulated desktop
// can model; a word out of its range fails the line with the range in the reason.
namespace scenarioArgs {

inline constexpr double maxSeconds = 86'400;      // the clock never passes one day
inline constexpr int64_t maxRefreshes = 10'000;   // per refresh command
inline constexpr double maxCoordinate = 100'000;  // points, either sign
inline constexpr double maxLength = 100'000;      // points: widths and heights
inline constexpr double maxScale = 16;            // pixels a point
inline constexpr int32_t defaultCopy = 4242;      // the first copy that launch starts

}  // namespace scenarioArgs

// A finite decimal.
double scenarioNumber(const std::string& word);
// A decimal or 0x hexadecimal integer.
int64_t scenarioInteger(const std::string& word);

double scenarioNumberIn(const std::string& word, double min, double max);
int64_t scenarioIntegerIn(const std::string& word, int64_t min, int64_t max);

double scenarioSeconds(const std::string& word);
double scenarioCoordinate(const std::string& word);
double scenarioLength(const std::string& word);
int32_t scenarioPid(const std::string& word);
uint32_t scenarioWindow(const std::string& word);
