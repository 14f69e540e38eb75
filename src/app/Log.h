#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The diagnostic log: one fixed file, one time-stamped line per call, never failing.
inline constexpr const char* logPath = "/tmp/vorin.log";

// "[2026-12-04 23:09:21 +0000] message\n" for the given moment, in UTF-8, with the
// message's control characters escaped (\n, \t, \r, \xHH) and a message over
// logMessageLimit bytes cut.
std::string logRecord(std::chrono::system_clock::time_point when, std::string_view message);

// A name or title from another program as it goes into a log line: at most
// logValueLimit bytes of it, cut on a character boundary and marked with "…" when cut.
inline constexpr size_t logValueLimit = 256;
std::string logValue(std::string_view text);

// Whatever a message holds, its record keeps at most this many bytes of it (then "…").
inline constexpr size_t logMessageLimit = 16384;

void flog(std::string_view message);
