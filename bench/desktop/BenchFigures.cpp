#include "BenchFigures.h"

using Run = benchmark::BenchmarkReporter::Run;

void BenchFigures::record(const Run& run) {
    const std::string& name = run.run_name.function_name;
    if (run.error_occurred) {
        errors_.emplace(name, run.error_message);
        return;
    }
    const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
    if (run.run_type != Run::RT_Aggregate && !single) return;
    Figure figure{run.GetAdjustedRealTime(), {}};
    for (const auto& [counter, value] : run.counters)
        figure.counters[counter] = value.value;
    figures_[{name, single ? "" : run.aggregate_name}] = figure;
}

std::optional<double> BenchFigures::time(const std::string& name,
                                         const std::string& statistic) const {
    const auto found = figures_.find({name, statistic});
    if (found == figures_.end()) return std::nullopt;
    return found->second.time;
}

std::optional<double> BenchFigures::counter(const std::string& name, const std::string& statistic,
                                            const std::string& counter) const {
    const auto found = figures_.find({name, statistic});
    if (found == figures_.end()) return std::nullopt;
    const auto value = found->second.counters.find(counter);
    if (value == found->second.counters.end()) return std::nullopt;
    return value->second;
}

std::optional<std::string> BenchFigures::error(const std::string& name) const {
    const auto found = errors_.find(name);
    if (found == errors_.end()) return std::nullopt;
    return found->second;
}
