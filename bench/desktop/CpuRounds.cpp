#include "CpuRounds.h"

#include <benchmark/benchmark.h>

#include "SampleStatistics.h"

void CpuRounds::add(const std::map<std::string, double>& counters) {
    for (const auto& [name, value] : counters)
        values_[name].push_back(value);
}

void CpuRounds::report(benchmark::State& state) const {
    for (const auto& [name, values] : values_)
        state.counters[name] = SampleStatistics::median(values);
}
