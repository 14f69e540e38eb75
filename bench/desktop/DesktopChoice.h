#pragma once

#include <string>

// The desktop the benchmark runs on: "--desktop x11|wayland" (or "--desktop=...") taken out
// of the arguments, else the environment's VELTRIN_BENCH_DESKTOP, else "x11". An unknown
// name comes back as it is, for the caller to refuse.
struct DesktopChoice {
    static std::string take(int& argc, char** argv);
};
