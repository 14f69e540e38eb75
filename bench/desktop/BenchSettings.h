#pragma once

// How long the desktop benchmark measures. The environment can shorten a run for a smoke
// test: VELTRIN_BENCH_SAMPLES (latency samples per figure, default 200) and
// VELTRIN_BENCH_CPU_SECONDS (each CPU window, default 10).
struct BenchSettings {
    int samples = 200;
    double cpuSeconds = 10;

    static BenchSettings fromEnvironment();
};
