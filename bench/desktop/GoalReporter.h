#pragma once

#include <benchmark/benchmark.h>

#include <set>
#include <string>
#include <vector>

#include "BenchFigures.h"

// The console report, kept short: the statistics of each benchmark rather than its hundreds
// of samples, and the first error of each. Everything it sees is also kept for the goals.
class GoalReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    const BenchFigures& figures() const { return figures_; }

private:
    BenchFigures figures_;
    std::set<std::string> failed_;
};
