#pragma once

#include <cstdint>

class PinnedClient;

// One frame drawn by the pinned client, timed from the client's own timestamp of the
// drawing to the first poll of the panel's pixel that shows its colour.
class ContentLatencyProbe {
public:
    struct Sample {
        bool shown = false;
        bool panelLost = false;  // the panel no longer covers the sample point
        double latencyMs = 0;
        double pollGapMs = 0;  // the longest time between two polls, the figure's resolution
    };

    static Sample measure(PinnedClient& pinned, int64_t timeoutNs);
};
