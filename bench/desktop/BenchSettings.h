#pragma once

// How long the desktop benchmark measures. The environment can shorten a run for a smoke
// test: VELTRIN_BENCH_SAMPLES (latency samples per figure, default 200) and
// VELTRIN_BENCH_CPU_SECONDS (each CPU window, default 10), VELTRIN_BENCH_CPU_ROUNDS (pinned and
// unpinned windows per CPU figure, their median reported; default 3). VELTRIN_BENCH_SOAK_OPERATIONS
// (default 0: not run) plays a long random session and reads the program's memory.
struct BenchSettings {
    int samples = 200;
    double cpuSeconds = 10;
    int cpuRounds = 3;
    int soakOperations = 0;

    static BenchSettings fromEnvironment();
};
