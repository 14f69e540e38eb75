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

protected:
    // A table of its own rows under its own title: the derived table adds them.
    GoalTable(const BenchFigures& figures, const BenchSettings& settings, std::string title);

    void atMost(const std::string& what, const std::string& name, std::optional<double> figure,
                double limit, const std::string& unit);
    void atLeast(const std::string& what, const std::string& name, std::optional<double> figure,
                 double limit, const std::string& unit);
    void info(const std::string& what, std::optional<double> figure, const std::string& unit);
    // A goal this desktop cannot judge, with the reason; it does not fail the table.
    void notMeasured(const std::string& what, const std::string& goal, const std::string& why);
    const BenchFigures& figures() const { return figures_; }
    // A line printed under the table.
    void note(const std::string& text) { notes_.push_back(text); }

private:
    struct Row {
        std::string what;
        std::optional<double> figure;
        std::string unit;
        std::string goal;  // empty: a figure that explains the others
        bool passed = true;
        std::string missing;
        bool judged = true;
    };

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
    std::string title_ = "Veltrin on the headless desktop";
    std::vector<Row> rows_;
    std::vector<std::string> notes_;
};
