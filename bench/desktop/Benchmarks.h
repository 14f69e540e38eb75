#pragma once

#include "BenchSettings.h"

// Each registers one benchmark with the library; they run in the order registered.
void registerFollowLag(const BenchSettings& settings);
void registerGtkResize(const BenchSettings& settings);
void registerMemorySoak(const BenchSettings& settings);
void registerContentLatency(const BenchSettings& settings, int width, int height);
void registerFramesShown(const BenchSettings& settings);
void registerCpu(const BenchSettings& settings, int width, int height, bool animate);
