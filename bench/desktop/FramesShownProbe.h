#pragma once

class PinnedClient;

// One second of the pinned client animating at 60 frames a second, with the panel's pixel
// polled about every millisecond: how many of the drawn frames the panel showed.
class FramesShownProbe {
public:
    struct Sample {
        int drawn = 0;
        int shown = 0;
        double pollGapMs = 0;  // the longest time between two polls
        bool panelLost = false;
    };

    static Sample measure(PinnedClient& pinned);
};
