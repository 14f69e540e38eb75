#pragma once

#include <cstdint>

class KWinPinnedClient;

// One move of the pinned window by KWin, read from KWin's screenshots: from the window's
// first composited frame at its new place to the panel's. A screenshot is one frame, made
// between its request and its answer, so each move is known between two times: a panel
// that moved in the window's frame is at least 0 ms late, and at most the time from the
// request of the screenshot before the window's first to the answer of the panel's first.
class KWinFollowLagProbe {
public:
    struct Sample {
        bool followed = false;
        double atMostMs = 0;
        double atLeastMs = 0;
        double sinceRequestMs = 0;  // the move asked -> panel shown moved
        double captureMs = 0;       // the longest screenshot
        int framesLate = 0;         // screenshots that showed the window moved but not the panel
    };

    Sample measure(KWinPinnedClient& pinned, int64_t timeoutNs);

private:
    int step_ = 0;
};
