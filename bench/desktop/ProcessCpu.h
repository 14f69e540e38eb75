#pragma once

#include <sys/types.h>

#include <optional>

// CPU time a process used so far (user + system, all its threads), from /proc/PID/stat.
class ProcessCpu {
public:
    static std::optional<double> seconds(pid_t pid);
};
