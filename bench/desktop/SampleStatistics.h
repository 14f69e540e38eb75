#pragma once

#include <vector>

// Statistics over a benchmark's repetitions that the library does not compute itself.
struct SampleStatistics {
    // Nearest rank: the smallest sample that at least 95 % of the samples do not exceed.
    static double percentile95(const std::vector<double>& samples);
    // The middle sample, or the mean of the two middle ones.
    static double median(const std::vector<double>& samples);
    static double minimum(const std::vector<double>& samples);
    static double maximum(const std::vector<double>& samples);
};
