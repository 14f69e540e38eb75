#pragma once

#include "BenchSettings.h"

// The Wayland measurements on the shared headless KWin, under the names of their X11
// counterparts; each registers one benchmark, run in the order registered.
void registerKWinFollowLag(const BenchSettings& settings);
void registerKWinContentLatency(const BenchSettings& settings);
void registerKWinFramesShown(const BenchSettings& settings);
void registerKWinCpu(const BenchSettings& settings, bool animate);

// Registers them all, runs them, ends KWin and prints the goal table; the exit status.
int runOnKWin(const BenchSettings& settings);
