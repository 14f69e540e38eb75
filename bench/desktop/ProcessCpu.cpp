#include "ProcessCpu.h"

#include <unistd.h>

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
