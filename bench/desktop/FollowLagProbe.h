#pragma once

#include <sys/types.h>

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
        double programWaitMs = 0;   // the program's threads ready to run but without a core
        double serverWaitMs = 0;    // the same for the X server
    };

    FollowLagProbe(const std::string& display, pid_t program, pid_t server)
        : watcher_(display), program_(program), server_(server) {}

    Sample measure(PinnedClient& pinned, int64_t timeoutNs);

private:
    RootWatcher watcher_;
    pid_t program_;
    pid_t server_;
    int step_ = 0;
};
