#include "LatencyShape.h"

#include "SampleStatistics.h"

benchmark::internal::Benchmark* asLatency(benchmark::internal::Benchmark* benchmark, int samples) {
    return benchmark->UseManualTime()
        ->Iterations(1)
        ->Repetitions(samples)
        ->ComputeStatistics("p95", SampleStatistics::percentile95)
        ->Unit(benchmark::kMillisecond);
}
