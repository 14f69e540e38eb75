#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "BenchSettings.h"

// The goals of the desktop benchmark beside the figures measured, with pass or FAIL, and
// the figures that explain them. A goal without a figure fails and says why.
class GoalTable {
public:
    GoalTable(const BenchFigures& figures, const BenchSettings& settings);
    void print(std::ostream& out) const;
    bool allPassed() const;

private:
    struct Row {
        std::string what;
        std::optional<double> figure;
        std::string unit;
        std::string goal;  // empty: a figure that explains the others
        bool passed = true;
        std::string missing;
    };

    void atMost(const std::string& what, const std::string& name, std::optional<double> figure,
                double limit, const std::string& unit);
    void atLeast(const std::string& what, const std::string& name, std::optional<double> figure,
                 double limit, const std::string& unit);
    void info(const std::string& what, std::optional<double> figure, const std::string& unit);
    void addGoal(Row row, const std::string& name);
    void addFollowLag();
    void addGtkResize();
    void addMemorySoak();
    void addContentLatency(const std::string& size, bool goal);
    void addFramesShown();
    void addCpu(const std::string& size, bool animate, double totalLimit);
    void addTransparentMarginCpu();
    void addManyPinsCpu();
    void addTerminalCpu();

    const BenchFigures& figures_;
    const BenchSettings& settings_;
    std::vector<Row> rows_;
};
