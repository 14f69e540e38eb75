#pragma once

#include <sys/types.h>

#include <optional>

class KWinPinnedClient;

// CPU time of the program and of KWin over one window of wall time while the Wayland client
// animates at 60 frames a second (or stays still), in percent of one core.
class KWinCpuProbe {
public:
    struct Sample {
        double programPercent = 0;
        double kwinPercent = 0;
        double seconds = 0;
        double framesPerSecond = 0;  // what the client drew in the window
    };

    KWinCpuProbe(pid_t program, pid_t kwin) : program_(program), kwin_(kwin) {}

    // Nothing when a process is gone or the client did not animate.
    std::optional<Sample> measure(KWinPinnedClient& client, bool animate, double seconds) const;

private:
    pid_t program_;
    pid_t kwin_;
};
