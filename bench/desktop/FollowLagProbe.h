#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "RootWatcher.h"

class PinnedClient;

// One move of the pinned client by the window manager, timed from the frame's
// ConfigureNotify to the panel's ConfigureNotify at the frame's rectangle grown by the
// margin, both as this program's own connection reads them.
class FollowLagProbe {
public:
    struct Sample {
        bool followed = false;
        double lagMs = 0;           // frame moved -> panel moved
        double sinceRequestMs = 0;  // client asked to move -> panel moved (an upper bound)
        bool sameRead = false;      // both events came in one read: the lag is a lower bound
    };

    explicit FollowLagProbe(const std::string& display) : watcher_(display) {}

    Sample measure(PinnedClient& pinned, int64_t timeoutNs);

private:
    RootWatcher watcher_;
    int step_ = 0;
};
