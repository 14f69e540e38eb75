#include "wayland/KWinPictureWatch.h"

#include <algorithm>
#include <thread>

#include "MonotonicClock.h"
#include "wayland/KWinBench.h"
#include "wayland/KWinPinnedClient.h"

using namespace std::chrono_literals;

// The command goes from another thread, so that the screenshots start before the client
// draws; the client is not touched here until that thread is done.
KWinPictureWatch::Result KWinPictureWatch::watch(KWinPinnedClient& pinned,
                                                 const std::string& command, int64_t timeoutNs,
                                                 const Enough& enough, int readers) {
    const int64_t endNs = monotonicNs() + timeoutNs;
    std::atomic<bool> done = false;
    std::vector<Result> more(size_t(std::max(0, readers - 1)));
    std::vector<std::thread> threads;
    for (Result& extra : more)
        threads.emplace_back([&] { read(pinned, endNs, enough, done, extra); });
    Result result;
    std::thread sender([&] { result.commanded = pinned.client().command(command); });
    read(pinned, endNs, enough, done, result);
    sender.join();
    for (std::thread& thread : threads)
        thread.join();
    for (const Result& extra : more) {
        result.changes.insert(result.changes.end(), extra.changes.begin(), extra.changes.end());
        result.screenshots += extra.screenshots;
        result.longestScreenshotMs =
            std::max(result.longestScreenshotMs, extra.longestScreenshotMs);
    }
    std::stable_sort(result.changes.begin(), result.changes.end(),
                     [](const Change& a, const Change& b) { return a.seenNs < b.seenNs; });
    return result;
}

void KWinPictureWatch::read(KWinPinnedClient& pinned, int64_t endNs, const Enough& enough,
                            std::atomic<bool>& done, Result& result) {
    KWinBench& bench = KWinBench::shared();
    int64_t previousNs = monotonicNs();
    for (int64_t startNs = previousNs; startNs < endNs && !done; startNs = monotonicNs()) {
        const auto pixel = bench.pixel(pinned.centreX(), pinned.centreY());
        const int64_t seenNs = monotonicNs();
        ++result.screenshots;
        result.longestScreenshotMs =
            std::max(result.longestScreenshotMs, millisecondsBetween(startNs, seenNs));
        if (!pixel) continue;
        const uint32_t color = *pixel & 0xFFFFFF;
        if (result.changes.empty() || result.changes.back().color != color)
            result.changes.push_back({seenNs, previousNs, color});
        previousNs = startNs;
        if (enough(result.changes)) done = true;
    }
}

std::optional<KWinPictureWatch::Change> KWinPictureWatch::shownAt(const Result& result,
                                                                  uint32_t color) {
    for (const Change& change : result.changes)
        if (change.color == color) return change;
    return std::nullopt;
}

std::optional<FrameLine> KWinPictureWatch::nextFrame(KWinPinnedClient& pinned,
                                                     std::chrono::milliseconds timeout) {
    const auto line = pinned.client().waitForLine("frame ", timeout);
    return line ? FrameLine::parse(*line) : std::nullopt;
}

// No line starts with a newline: every line read within a moment is dropped.
void KWinPictureWatch::discardLines(KWinPinnedClient& pinned) {
    pinned.client().waitForLine("\n", 5ms);
}
