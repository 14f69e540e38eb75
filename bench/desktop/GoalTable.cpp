#include "GoalTable.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string padded(const std::string& text, size_t width) {
    return text.size() + 1 >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::optional<double> percent(std::optional<double> share) {
    if (!share) return std::nullopt;
    return *share * 100;
}

}  // namespace

GoalTable::GoalTable(const BenchFigures& figures, const BenchSettings& settings)
    : figures_(figures), settings_(settings) {
    addFollowLag();
    addGtkResize();
    if (settings.soakOperations > 1000) addMemorySoak();
    addContentLatency("640x480", false);
    addContentLatency("1280x720", false);
    addContentLatency("1920x1080", true);
    addFramesShown();
    addCpu("1280x720", true, 5);
    addCpu("1920x1080", true, 8);
    addCpu("1280x720", false, 0.2);
    addTerminalCpu();
    addTransparentMarginCpu();
    addManyPinsCpu();
}

GoalTable::GoalTable(const BenchFigures& figures, const BenchSettings& settings, std::string title)
    : figures_(figures), settings_(settings), title_(std::move(title)) {}

void GoalTable::addGoal(Row row, const std::string& name) {
    if (!row.figure) {
        row.passed = false;
        row.missing = figures_.error(name).value_or("not run");
    }
    rows_.push_back(row);
}

void GoalTable::atMost(const std::string& what, const std::string& name,
                       std::optional<double> figure, double limit, const std::string& unit) {
    addGoal(
        {what, figure, unit, "<= " + number(limit) + " " + unit, figure && *figure <= limit, ""},
        name);
}

void GoalTable::atLeast(const std::string& what, const std::string& name,
                        std::optional<double> figure, double limit, const std::string& unit) {
    addGoal(
        {what, figure, unit, ">= " + number(limit) + " " + unit, figure && *figure >= limit, ""},
        name);
}

void GoalTable::info(const std::string& what, std::optional<double> figure,
                     const std::string& unit) {
    rows_.push_back({what, figure, unit, "", true, ""});
}

void GoalTable::notMeasured(const std::string& what, const std::string& goal,
                            const std::string& why) {
    rows_.push_back({what, std::nullopt, "", goal, true, "not measured: " + why, false});
}

void GoalTable::addFollowLag() {
    const std::string n = "follow_lag";
    atMost("follow lag, median", n, figures_.time(n, "median"), 3, "ms");
    atMost("follow lag, 95th percentile", n, figures_.time(n, "p95"), 16.7, "ms");
    info("  moves not followed within 1 s (counted as 1 s)",
         percent(figures_.counter(n, "mean", "missed")), "%");
    info("  both events in one read (lag then a lower bound)",
         percent(figures_.counter(n, "mean", "same_read")), "%");
    info("  Veltrin's event threads waiting for a core, median",
         figures_.counter(n, "median", "veltrin_wait_ms"), "ms");
    info("  Veltrin's event threads waiting for a core, 95th pct",
         figures_.counter(n, "p95", "veltrin_wait_ms"), "ms");
    info("  the X server's main thread waiting for a core, 95th pct",
         figures_.counter(n, "p95", "xserver_wait_ms"), "ms");
    info("  lag minus both waits, median", figures_.counter(n, "median", "lag_minus_waits_ms"),
         "ms");
    info("  lag minus both waits, 95th percentile",
         figures_.counter(n, "p95", "lag_minus_waits_ms"), "ms");
    info("  from the client's move request, median",
         figures_.counter(n, "median", "since_request_ms"), "ms");
    info("  from the client's move request, 95th percentile",
         figures_.counter(n, "p95", "since_request_ms"), "ms");
}

void GoalTable::addGtkResize() {
    const std::string n = "gtk4_resize";
    atMost("GTK 4 window resized: panel in place, median", n, figures_.time(n, "median"), 16.7,
           "ms");
    atMost("GTK 4 window resized: panel in place, 95th percentile", n, figures_.time(n, "p95"),
           16.7, "ms");
    info("  resizes not followed within 1 s (counted as 1 s)",
         percent(figures_.counter(n, "mean", "missed")), "%");
    info("  from the size request, median", figures_.counter(n, "median", "since_request_ms"),
         "ms");
}

void GoalTable::addMemorySoak() {
    const std::string n = "memory_soak";
    const std::string span = "operation 1000 to " + std::to_string(settings_.soakOperations);
    atMost("resident memory growth, " + span, n, figures_.counter(n, "", "growth_mb"), 2, "MB");
    info("  highest growth over the same span", figures_.counter(n, "", "highest_growth_mb"), "MB");
    info("  resident at operation 1000", figures_.counter(n, "", "rss_at_1000_mb"), "MB");
}

void GoalTable::addContentLatency(const std::string& size, bool goal) {
    const std::string n = "content_latency/" + size;
    const std::string what = "content latency " + size;
    if (goal)
        atMost(what + ", median", n, figures_.time(n, "median"), 16.7, "ms");
    else
        info(what + ", median", figures_.time(n, "median"), "ms");
    info(what + ", 95th percentile", figures_.time(n, "p95"), "ms");
    info("  frames not shown within 500 ms (counted as 500 ms)",
         percent(figures_.counter(n, "mean", "missed")), "%");
    info("  longest gap between two polls, 95th percentile",
         figures_.counter(n, "p95", "poll_gap_ms"), "ms");
}

void GoalTable::addFramesShown() {
    const std::string n = "frames_shown_60fps/1280x720";
    atLeast("frames shown of 60 at 60 fps, 1280x720, fewest in a run", n,
            figures_.counter(n, "min", "shown"), 59, "frames");
    info("  frames the client drew, fewest in a run", figures_.counter(n, "min", "drawn"),
         "frames");
    info("  longest gap between two polls, longest run", figures_.counter(n, "max", "poll_gap_ms"),
         "ms");
}

void GoalTable::addCpu(const std::string& size, bool animate, double totalLimit) {
    const std::string n = std::string(animate ? "cpu/animating_60fps/" : "cpu/static/") + size;
    const std::string what = std::string(animate ? "CPU, animating " : "CPU, static ") + size;
    const auto veltrin = figures_.counter(n, "", "veltrin_pinned_pct");
    if (animate)
        atMost(what + ": Veltrin", n, veltrin, size == "1280x720" ? 0.4 : 1, "%");
    else
        info(what + ": Veltrin", veltrin, "%");
    atMost(what + ": Veltrin + X server's extra", n, figures_.counter(n, "", "total_extra_pct"),
           totalLimit, "%");
    const auto unpinned = figures_.counter(n, "", "veltrin_unpinned_pct");
    if (animate)
        info("  Veltrin unpinned", unpinned, "%");
    else  // the client stays still: the program is idle with nothing pinned
        atMost("idle, nothing pinned, tray icon shown: Veltrin", n, unpinned, 0.1, "%");
    info("  X server pinned", figures_.counter(n, "", "xserver_pinned_pct"), "%");
    info("  X server unpinned", figures_.counter(n, "", "xserver_unpinned_pct"), "%");
}

// It costs what the opaque window of the same size costs, in the same run.
void GoalTable::addTransparentMarginCpu() {
    const std::string n = "cpu/animating_60fps_transparent_margin/1280x720";
    const auto above = [&](const std::string& counter) -> std::optional<double> {
        const auto cost = figures_.counter(n, "", counter);
        const auto opaque = figures_.counter("cpu/animating_60fps/1280x720", "", counter);
        if (!cost || !opaque) return std::nullopt;
        return *cost - *opaque;
    };
    const std::string what = "CPU, 32-bit 1280x720, transparent margin, above opaque";
    atMost(what + ": Veltrin", n, above("veltrin_pinned_pct"), 0.2, "%");
    atMost(what + ": + X server", n, above("total_extra_pct"), 0.2, "%");
    info("  Veltrin", figures_.counter(n, "", "veltrin_pinned_pct"), "%");
    info("  Veltrin + X server's extra", figures_.counter(n, "", "total_extra_pct"), "%");
}

void GoalTable::addManyPinsCpu() {
    const std::string n = "cpu/8_pins_animating_60fps/620x360";
    atMost("CPU, 8 animating 620x360 pins: Veltrin", n,
           figures_.counter(n, "", "veltrin_pinned_pct"), 1.5, "%");
    atMost("  threads beyond the idle program's", n, figures_.counter(n, "", "threads_beyond_idle"),
           4, "threads");
    info("  X server pinned", figures_.counter(n, "", "xserver_pinned_pct"), "%");
    info("  X server unpinned", figures_.counter(n, "", "xserver_unpinned_pct"), "%");
}

// The X server's extra work for a window that changes a few rows a frame, as a share of
// its extra work for the same window changing whole, in the same run. One row a frame shows
// the part of it that every frame costs, whatever its area.
void GoalTable::addTerminalCpu() {
    const std::string n = "cpu/terminal_scrolling_60fps/1280x720";
    const std::string one = "cpu/terminal_one_row_60fps/1280x720";
    const auto whole = figures_.counter("cpu/animating_60fps/1280x720", "", "xserver_extra_pct");
    const auto ofWhole = [&](const std::string& name) -> std::optional<double> {
        const auto extra = figures_.counter(name, "", "xserver_extra_pct");
        if (!extra || !whole || *whole <= 0) return std::nullopt;
        return std::max(*extra, 0.0) / *whole * 100;
    };
    const std::string what = "CPU, terminal scrolling 4 rows of 1280x720: X server's extra";
    atMost(what + ", of a whole frame's", n, ofWhole(n),
           figures_.counter(n, "", "changed_share_pct").value_or(0), "%");
    info("  X server's extra", figures_.counter(n, "", "xserver_extra_pct"), "%");
    info("  X server's extra, whole frames", whole, "%");
    info("  Veltrin", figures_.counter(n, "", "veltrin_pinned_pct"), "%");
    info("  one row a frame: X server's extra", figures_.counter(one, "", "xserver_extra_pct"),
         "%");
    info("  one row a frame, of a whole frame's", ofWhole(one), "%");
    info("  one row a frame: its share of the window",
         figures_.counter(one, "", "changed_share_pct"), "%");
}

bool GoalTable::allPassed() const {
    for (const Row& row : rows_)
        if (!row.passed) return false;
    return true;
}

void GoalTable::print(std::ostream& out) const {
    out << "\n" << padded(title_, 58) << padded("goal", 15) << padded("figure", 15) << "result\n";
    for (const Row& row : rows_) {
        const std::string figure = row.figure ? number(*row.figure) + " " + row.unit : "-";
        std::string result = row.goal.empty() || !row.judged ? "" : row.passed ? "pass" : "FAIL";
        if (!row.missing.empty()) result += (result.empty() ? "" : ": ") + row.missing;
        out << padded(row.what, 58) << padded(row.goal, 15) << padded(figure, 15) << result << "\n";
    }
    out << "(" << settings_.samples << " samples per latency; CPU in % of one core over "
        << number(settings_.cpuSeconds)
        << " s windows, pinned and then unpinned, counted to the nanosecond)\n";
    for (const std::string& line : notes_)
        out << line << "\n";
}
