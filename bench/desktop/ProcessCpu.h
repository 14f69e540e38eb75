#pragma once

#include <sys/types.h>

#include <optional>

// CPU time a process used so far (user + system, all its threads, those ended too), and
// the time its event threads were ready to run but waited for a core, from their schedstat.
class ProcessCpu {
public:
    static std::optional<double> seconds(pid_t pid);
    static double waitingSeconds(pid_t pid);
    // Its threads now; 0 when it is gone.
    static int threads(pid_t pid);
};
