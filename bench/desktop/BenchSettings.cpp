#include "BenchSettings.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

double number(const char* name, double fallback, double low, double high) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    try {
        return std::clamp(std::stod(text), low, high);
    } catch (...) {
        return fallback;
    }
}

}  // namespace

BenchSettings BenchSettings::fromEnvironment() {
    BenchSettings settings;
    // Two samples at least, so that the library reports a median and a 95th percentile.
    settings.samples = static_cast<int>(number("VELTRIN_BENCH_SAMPLES", 200, 2, 100000));
    settings.cpuSeconds = number("VELTRIN_BENCH_CPU_SECONDS", 10, 1, 600);
    settings.cpuRounds = static_cast<int>(number("VELTRIN_BENCH_CPU_ROUNDS", 3, 1, 99));
    settings.soakOperations =
        static_cast<int>(number("VELTRIN_BENCH_SOAK_OPERATIONS", 0, 0, 1000000));
    return settings;
}
