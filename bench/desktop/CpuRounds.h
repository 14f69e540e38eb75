#pragma once

#include <map>
#include <string>
#include <vector>

namespace benchmark {
class State;
}

// The counters of several rounds of one CPU benchmark, each pinned and then unpinned, reported
// as their medians: one window of a few seconds on a shared virtual machine can be off by half.
class CpuRounds {
public:
    void add(const std::map<std::string, double>& counters);
    // The median of every counter over the rounds added, into the benchmark's counters.
    void report(benchmark::State& state) const;

private:
    std::map<std::string, std::vector<double>> values_;
};
