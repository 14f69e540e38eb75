#include "platform/desktop/DesktopProcessInfo.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

extern char** environ;

namespace desktop {

int32_t DesktopProcessInfo::processIdentifier() const {
    return static_cast<int32_t>(::getpid());
}

std::map<std::string, std::string> DesktopProcessInfo::environment() const {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const size_t split = text.find('=');
        if (split == std::string::npos) continue;
        variables.emplace(text.substr(0, split), text.substr(split + 1));
    }
    return variables;
}

std::optional<std::string> DesktopProcessInfo::bundleIdentifier() const {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    return path.string();
}

}  // namespace desktop
