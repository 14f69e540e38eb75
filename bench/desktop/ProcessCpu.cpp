#include "ProcessCpu.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

std::optional<double> ProcessCpu::seconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    // The command name may hold spaces and parentheses: count fields after the last ')'.
    const auto end = stat.rfind(')');
    if (end == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(end + 1));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int index = 3; index <= 13; ++index)  // state (field 3) up to cmajflt (field 13)
        fields >> field;
    if (!(fields >> utime >> stime)) return std::nullopt;
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
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
