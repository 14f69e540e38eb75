#pragma once

#include "GoalTable.h"

// The goals of the desktop benchmark on headless KWin beside the figures measured there,
// with what the screenshots and software rendering make of them.
class KWinGoalTable : public GoalTable {
public:
    KWinGoalTable(const BenchFigures& figures, const BenchSettings& settings);

private:
    // A latency known between two bounds: judged when both fall on one side of the limit.
    void bounded(const std::string& what, const std::string& name, const std::string& statistic,
                 double limit);
    void addFollowLag();
    void addContentLatency();
    void addFramesShown();
    void addCpu(bool animate);
    void addNotes();
};
