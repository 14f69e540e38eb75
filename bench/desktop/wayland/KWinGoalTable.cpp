#include "wayland/KWinGoalTable.h"

#include <cstdio>

namespace {

constexpr double refreshMs = 16.7;  // KWin's virtual output runs at 60 Hz

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::optional<double> percent(std::optional<double> share) {
    if (!share) return std::nullopt;
    return *share * 100;
}

}  // namespace

KWinGoalTable::KWinGoalTable(const BenchFigures& figures, const BenchSettings& settings)
    : GoalTable(figures, settings, "Veltrin on headless KWin (Wayland)") {
    addFollowLag();
    addContentLatency();
    addFramesShown();
    addCpu(true);
    addCpu(false);
    addNotes();
}

void KWinGoalTable::bounded(const std::string& what, const std::string& name,
                            const std::string& statistic, double limit) {
    const auto atMostMs = figures().time(name, statistic);
    const auto atLeastMs = figures().counter(name, statistic, "at_least_ms");
    if (!atMostMs || *atMostMs <= limit) return atMost(what, name, atMostMs, limit, "ms");
    if (atLeastMs && *atLeastMs > limit) return atMost(what, name, atLeastMs, limit, "ms");
    notMeasured(what, "<= " + number(limit) + " ms",
                "between " + number(atLeastMs.value_or(0)) + " and " + number(*atMostMs) +
                    " ms, the screenshots' resolution");
}

void KWinGoalTable::addFollowLag() {
    const std::string n = "follow_lag";
    const auto& f = figures();
    bounded("follow lag, median", n, "median", 3);
    bounded("follow lag, 95th percentile", n, "p95", refreshMs);
    info("  at most, median", f.time(n, "median"), "ms");
    info("  at least, median", f.counter(n, "median", "at_least_ms"), "ms");
    info("  moves where the panel came a screenshot or more late",
         percent(f.counter(n, "mean", "late")), "%");
    info("  moves not followed within 1 s (counted as 1 s)",
         percent(f.counter(n, "mean", "missed")), "%");
    info("  screenshots between the window's and the panel's, 95th pct",
         f.counter(n, "p95", "frames_late"), "shots");
    info("  from the move request, median", f.counter(n, "median", "since_request_ms"), "ms");
    info("  longest screenshot in a sample, median", f.counter(n, "median", "screenshot_ms"), "ms");
}

void KWinGoalTable::addContentLatency() {
    const std::string n = "content_latency/1280x720";
    const auto& f = figures();
    bounded("picture latency 1280x720, median", n, "median", refreshMs);
    info("  at most, median", f.time(n, "median"), "ms");
    info("  at least, median", f.counter(n, "median", "at_least_ms"), "ms");
    info("  at most, 95th percentile", f.time(n, "p95"), "ms");
    info("  frames not shown within 500 ms (counted as 500 ms)",
         percent(f.counter(n, "mean", "missed")), "%");
    info("  longest screenshot in a sample, median", f.counter(n, "median", "screenshot_ms"), "ms");
}

// The screenshots judge the panel only where they saw nearly every frame of the window
// itself, unpinned.
void KWinGoalTable::addFramesShown() {
    const std::string n = "frames_shown_60fps/1280x720";
    const std::string reference = "frames_seen_unpinned_60fps/1280x720";
    const auto& f = figures();
    const std::string what = "frames shown of 60 at 60 fps, 1280x720, fewest in a run";
    const auto window = f.counter(reference, "min", "shown");
    if (window && *window < 59)
        notMeasured(
            what, ">= 59.00 frames",
            "the screenshots saw " + number(*window) + " frames of the window itself, unpinned");
    else
        atLeast(what, n, f.counter(n, "min", "shown"), 59, "frames");
    info("  frames seen in the panel, fewest in a run", f.counter(n, "min", "shown"), "frames");
    info("  frames seen in the window itself, unpinned, fewest", window, "frames");
    info("  frames the client drew, fewest in a run", f.counter(n, "min", "drawn"), "frames");
    info("  screenshots a second, fewest in a run", f.counter(n, "min", "screenshots_per_s"), "/s");
}

void KWinGoalTable::addCpu(bool animate) {
    const std::string n =
        std::string(animate ? "cpu/animating_60fps/" : "cpu/static/") + "1280x720";
    const auto& f = figures();
    const auto veltrin = f.counter(n, "", "veltrin_pinned_pct");
    const auto unpinned = f.counter(n, "", "veltrin_unpinned_pct");
    if (animate) {
        atMost("CPU, animating 1280x720: Veltrin", n, veltrin, 1, "%");
        info("  frames the client drew a second, pinned", f.counter(n, "", "client_fps_pinned"),
             "/s");
        info("  Veltrin unpinned", unpinned, "%");
    } else {
        info("CPU, static 1280x720: Veltrin", veltrin, "%");
        // The client stays still: the program is idle with nothing pinned.
        atMost("idle, nothing pinned: Veltrin", n, unpinned, 0.1, "%");
    }
    info("  KWin pinned", f.counter(n, "", "kwin_pinned_pct"), "%");
    info("  KWin unpinned", f.counter(n, "", "kwin_unpinned_pct"), "%");
}

void KWinGoalTable::addNotes() {
    note(
        "On KWin the panel is seen only in KWin's screenshots (ScreenShot2): each is one "
        "composited frame, made in software (no GPU) between its request and its answer. "
        "Follow lag and picture latency are known between two bounds and judged only when "
        "both fall on one side of the goal; frames shown only when the screenshots see 59 "
        "frames of the unpinned window itself. Software rendering limits all three: KWin "
        "composites the screen and the window's PipeWire stream on the CPU. The CPU figures "
        "come from /proc and need no screenshots.");
}
