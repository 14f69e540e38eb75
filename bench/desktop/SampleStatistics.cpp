#include "SampleStatistics.h"

#include <algorithm>
#include <cmath>

double SampleStatistics::percentile95(const std::vector<double>& samples) {
    if (samples.empty()) return 0;
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = static_cast<size_t>(std::ceil(0.95 * static_cast<double>(sorted.size())));
    return sorted[std::max<size_t>(rank, 1) - 1];
}

double SampleStatistics::median(const std::vector<double>& samples) {
    if (samples.empty()) return 0;
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    const size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double SampleStatistics::minimum(const std::vector<double>& samples) {
    return samples.empty() ? 0 : *std::min_element(samples.begin(), samples.end());
}

double SampleStatistics::maximum(const std::vector<double>& samples) {
    return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}
