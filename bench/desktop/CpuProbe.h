#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

class PinnedClient;

// CPU time of the program and of the X server over one window of wall time while the
// client animates at 60 frames a second (or stays still), in percent of one core.
class CpuProbe {
public:
    struct Sample {
        double programPercent = 0;
        double serverPercent = 0;
        double seconds = 0;
    };

    CpuProbe(pid_t program, pid_t server) : program_(program), server_(server) {}

    // While the client runs `drawing` ("animate 60", or "scroll 4 16 60" for text; the
    // duration is added as its last argument; empty: the client stays still). Nothing when
    // a process is gone.
    std::optional<Sample> measure(PinnedClient& client, const std::string& drawing,
                                  double seconds) const;

private:
    pid_t program_;
    pid_t server_;
};
