#pragma once

#include <benchmark/benchmark.h>

// A latency benchmark: one sample per repetition, its time set by hand in milliseconds,
// with the median and the 95th percentile over the samples.
benchmark::internal::Benchmark* asLatency(benchmark::internal::Benchmark* benchmark, int samples);
