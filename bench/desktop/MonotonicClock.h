#pragma once

#include <time.h>

#include <cstdint>

// CLOCK_MONOTONIC in nanoseconds: the clock of the test client's frame timestamps.
inline int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

inline double millisecondsBetween(int64_t fromNs, int64_t toNs) {
    return static_cast<double>(toNs - fromNs) / 1e6;
}
