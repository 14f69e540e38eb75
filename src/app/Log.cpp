#include "app/Log.h"

#include <ctime>

#include "platform/Platform.h"

std::string logRecord(std::chrono::system_clock::time_point when, std::string_view message) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char stamp[40];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S +0000", &utc);
    std::string record;
    record.reserve(message.size() + 32);
    record.append("[").append(stamp).append("] ").append(message).append("\n");
    return record;
}

void flog(std::string_view message) {
    if (!platform::isInstalled()) return;
    const std::string record = logRecord(platform::clock().now(), message);
    platform::files().appendRecord(logPath, record);
}
