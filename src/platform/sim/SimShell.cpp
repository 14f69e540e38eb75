#include "platform/sim/SimShell.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace sim {

namespace fs = std::filesystem;

// Sorted by name, so that every run registers in the same order.
std::optional<std::vector<std::string>> SimShell::resourceURLs(
    const std::string& extension, const std::string& subdirectory) const {
    if (!resourcesDirectory) return std::nullopt;
    std::error_code error;
    fs::directory_iterator entries(fs::path(*resourcesDirectory) / subdirectory, error);
    if (error) return std::nullopt;
    std::vector<std::string> urls;
    for (const auto& entry : entries) {
        if (!entry.is_regular_file(error)) continue;
        if (entry.path().extension() == "." + extension) urls.push_back(entry.path().string());
    }
    std::sort(urls.begin(), urls.end());
    return urls;
}

std::optional<std::string> SimShell::resourceURL(const std::string& name,
                                                 const std::string& extension) const {
    if (!resourcesDirectory) return std::nullopt;
    const fs::path path = fs::path(*resourcesDirectory) / (name + "." + extension);
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    return path.string();
}

}  // namespace sim
