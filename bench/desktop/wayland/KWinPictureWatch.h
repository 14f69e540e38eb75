#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FrameLine.h"

class KWinPinnedClient;

// The panel's picture at the window's centre, read from KWin's screenshots one after the
// other while the client carries out one command: every change of colour with the time its
// screenshot came back.
class KWinPictureWatch {
public:
    // A screenshot is one composited frame, made between its request and its answer: the
    // colour came after the screenshot before was asked for and before this one came back.
    struct Change {
        int64_t seenNs = 0;
        int64_t notBeforeNs = 0;
        uint32_t color = 0;
    };
    struct Result {
        std::vector<Change> changes;  // the first screenshot's colour first
        int screenshots = 0;
        double longestScreenshotMs = 0;  // the resolution of a time read from them
        bool commanded = false;          // the client took the command
    };
    using Enough = std::function<bool(const std::vector<Change>& changes)>;

    // Watches from before `command` is sent until `enough` or `timeoutNs` has passed. More
    // `readers` ask for screenshots side by side, so that more composited frames are seen;
    // their changes are merged in the order their screenshots came back.
    static Result watch(KWinPinnedClient& pinned, const std::string& command, int64_t timeoutNs,
                        const Enough& enough, int readers = 1);
    // The change to `color`, the first one the watch saw.
    static std::optional<Change> shownAt(const Result& result, uint32_t color);
    // The next frame line the client printed within `timeout`.
    static std::optional<FrameLine> nextFrame(KWinPinnedClient& pinned,
                                              std::chrono::milliseconds timeout);
    // Reads away the lines the client printed so far.
    static void discardLines(KWinPinnedClient& pinned);

private:
    static void read(KWinPinnedClient& pinned, int64_t endNs, const Enough& enough,
                     std::atomic<bool>& done, Result& result);
};
