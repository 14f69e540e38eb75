#include "simulate/ScenarioArgs.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "simulate/Scenario.h"

namespace {

// The bounds are whole numbers.
std::string boundText(double bound) {
    return std::to_string(static_cast<int64_t>(bound));
}

}  // namespace

double scenarioNumber(const std::string& word) {
    double value = 0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    if (result.ec != std::errc() || result.ptr != word.data() + word.size() ||
        !std::isfinite(value))
        throw ScenarioError{"not a number: \"" + word + "\""};
    return value;
}

int64_t scenarioInteger(const std::string& word) {
    int64_t value = 0;
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const char* begin = word.data() + (hex ? 2 : 0);
    const auto result = std::from_chars(begin, word.data() + word.size(), value, hex ? 16 : 10);
    if (result.ec != std::errc() || result.ptr != word.data() + word.size())
        throw ScenarioError{"not an integer: \"" + word + "\""};
    return value;
}

double scenarioNumberIn(const std::string& word, double min, double max) {
    const double value = scenarioNumber(word);
    if (value < min || value > max)
        throw ScenarioError{"\"" + word + "\" is out of range " + boundText(min) + " to " +
                            boundText(max)};
    return value;
}

int64_t scenarioIntegerIn(const std::string& word, int64_t min, int64_t max) {
    const int64_t value = scenarioInteger(word);
    if (value < min || value > max)
        throw ScenarioError{"\"" + word + "\" is out of range " + std::to_string(min) + " to " +
                            std::to_string(max)};
    return value;
}

double scenarioSeconds(const std::string& word) {
    return scenarioNumberIn(word, 0, scenarioArgs::maxSeconds);
}

double scenarioCoordinate(const std::string& word) {
    return scenarioNumberIn(word, -scenarioArgs::maxCoordinate, scenarioArgs::maxCoordinate);
}

double scenarioLength(const std::string& word) {
    return scenarioNumberIn(word, 0, scenarioArgs::maxLength);
}

int32_t scenarioPid(const std::string& word) {
    return static_cast<int32_t>(scenarioIntegerIn(word, 0, std::numeric_limits<int32_t>::max()));
}

uint32_t scenarioWindow(const std::string& word) {
    return static_cast<uint32_t>(scenarioIntegerIn(word, 0, std::numeric_limits<uint32_t>::max()));
}
