#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The diagnostic log: one fixed file, one time-stamped line per call, never failing.
inline constexpr const char* logPath = "/tmp/vorin.log";

// "[2026-12-04 23:09:21 +0000] message\n" for the given moment, in UTF-8, with the
// message's control characters escaped (\n, \t, \r, \xHH).
std::string logRecord(std::chrono::system_clock::time_point when, std::string_view message);

void flog(std::string_view message);
