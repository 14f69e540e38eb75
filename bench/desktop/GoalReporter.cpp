#include "GoalReporter.h"

void GoalReporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown;
    for (const Run& run : runs) {
        figures_.record(run);
        const std::string& name = run.run_name.function_name;
        const bool firstError = run.error_occurred && failed_.insert(name).second;
        if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1 || firstError)
            shown.push_back(run);
    }
    if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
}
