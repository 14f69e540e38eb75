#include "platform/desktop/DesktopBundle.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/Log.h"

namespace desktop {
namespace fs = std::filesystem;

DesktopBundle::DesktopBundle(std::string resourcesFolder) : folder_(std::move(resourcesFolder)) {}

std::string DesktopBundle::locateResources() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path installed = executable.parent_path().parent_path() / "share" / "veltrin";
        if (fs::is_directory(installed, error)) return installed.string();
        const fs::path beside = executable.parent_path() / "resources";
        if (fs::is_directory(beside, error)) return beside.string();
    }
#ifdef VELTRIN_RESOURCES_DIR
    if (fs::is_directory(VELTRIN_RESOURCES_DIR, error)) return VELTRIN_RESOURCES_DIR;
#endif
    return {};
}

bool DesktopBundle::haveFolder() {
    if (!told_) {
        told_ = true;
        flog(folder_.empty() ? std::string("bundle: no resources folder found")
                             : "bundle: resources in " + folder_);
    }
    return !folder_.empty();
}

std::optional<std::vector<std::string>> DesktopBundle::urlsForResources(
    const std::string& extension, const std::string& subdirectory) {
    if (!haveFolder()) return std::nullopt;
    std::error_code error;
    std::vector<std::string> urls;
    for (const auto& entry : fs::directory_iterator(fs::path(folder_) / subdirectory, error))
        if (entry.is_regular_file(error) && entry.path().extension() == "." + extension)
            urls.push_back(entry.path().string());
    std::sort(urls.begin(), urls.end());
    return urls;
}

std::optional<std::string> DesktopBundle::urlForResource(const std::string& name,
                                                         const std::string& extension) {
    if (!haveFolder()) return std::nullopt;
    const fs::path path = fs::path(folder_) / (name + "." + extension);
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    return path.string();
}

}  // namespace desktop
