#pragma once

#include <cstdint>
#include <optional>

// Frames at a steady rate, each in a colour of its own that differs from the one before in
// every channel, so that a reader of the screen can tell each frame apart. A frame that fell
// behind is skipped rather than drawn in a burst.
class Animation {
public:
    struct Frame {
        uint64_t number = 0;  // counted over the client's life
        uint32_t color = 0;   // RRGGBB
    };

    // False for a rate or a length out of range.
    bool start(double fps, double seconds, int64_t nowNs);
    // Milliseconds until the next frame is due; -1 when no frame is.
    int waitMs(int64_t nowNs) const;
    // The frame due now, counted as drawn; nothing when none is due.
    std::optional<Frame> due(int64_t nowNs);
    bool running() const { return drawn_ < total_; }

private:
    int64_t startNs_ = 0;
    int64_t periodNs_ = 1;
    uint64_t total_ = 0;
    uint64_t drawn_ = 0;   // frames of this run, skipped ones included
    uint64_t number_ = 0;  // frames painted over the client's life
};
