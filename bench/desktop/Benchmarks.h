#pragma once

#include <string>

#include "BenchSettings.h"

namespace benchmark {
class State;
}
class PinnedClient;

// Each registers one benchmark with the library; they run in the order registered.
void registerFollowLag(const BenchSettings& settings);
void registerGtkResize(const BenchSettings& settings);
void registerMemorySoak(const BenchSettings& settings);
void registerContentLatency(const BenchSettings& settings, int width, int height);
void registerFramesShown(const BenchSettings& settings);
void registerCpu(const BenchSettings& settings, int width, int height, bool animate);
void registerTransparentMarginCpu(const BenchSettings& settings);
void registerManyPinsCpu(const BenchSettings& settings);
void registerTerminalCpu(const BenchSettings& settings);

// The CPU cost of one pinned client, pinned and then unpinned in each round (it ends unpinned).
void measureCpu(benchmark::State& state, PinnedClient& client, bool animate,
                const BenchSettings& settings);
// The same while the client runs `drawing` (see CpuProbe::measure).
void measureCpu(benchmark::State& state, PinnedClient& client, const std::string& drawing,
                const BenchSettings& settings);
