#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

// The figures the library reported, by benchmark name and statistic ("median", "p95",
// "min"; empty for a benchmark of one repetition): times in the benchmark's own unit and
// its counters, and the first error each benchmark met.
class BenchFigures {
public:
    void record(const benchmark::BenchmarkReporter::Run& run);

    std::optional<double> time(const std::string& name, const std::string& statistic) const;
    std::optional<double> counter(const std::string& name, const std::string& statistic,
                                  const std::string& counter) const;
    std::optional<std::string> error(const std::string& name) const;

private:
    struct Figure {
        double time = 0;
        std::map<std::string, double> counters;
    };

    std::map<std::pair<std::string, std::string>, Figure> figures_;
    std::map<std::string, std::string> errors_;
};
