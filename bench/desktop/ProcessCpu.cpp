#include "ProcessCpu.h"

#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

// The kernel's own count in nanoseconds, where /proc/PID/stat rounds to clock ticks (10 ms):
// a terminal's few rows a frame cost the X server less than a tick a second.
std::optional<double> ProcessCpu::seconds(pid_t pid) {
    clockid_t clock{};
    timespec used{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &used) != 0)
        return std::nullopt;
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

// Only the threads that carry an X event to a reaction: the main thread and Qt's X event
// reader. Other threads (display links, capture, the server's input thread) would count
// waits that overlap.
double ProcessCpu::waitingSeconds(pid_t pid) {
    std::error_code gone;
    const std::string main = std::to_string(pid);
    std::filesystem::directory_iterator tasks("/proc/" + main + "/task", gone);
    unsigned long long waited = 0;
    for (const auto& task : tasks) {
        std::string name;
        std::ifstream(task.path() / "comm") >> name;
        if (task.path().filename() != main && name != "QXcbEventQueue") continue;
        std::ifstream file(task.path() / "schedstat");
        unsigned long long running = 0, waiting = 0;
        if (file >> running >> waiting) waited += waiting;  // nanoseconds
    }
    return static_cast<double>(waited) / 1e9;
}

int ProcessCpu::threads(pid_t pid) {
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/" + std::to_string(pid) + "/task", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return count;
}
