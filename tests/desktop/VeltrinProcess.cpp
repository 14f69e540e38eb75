#include "desktop/VeltrinProcess.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "app/Log.h"
#include "desktop/XDriver.h"

namespace {

std::string readFile(const std::string& path, uintmax_t from = 0) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "";
    file.seekg(static_cast<std::streamoff>(from));
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uintmax_t logSize() {
    std::error_code missing;
    const uintmax_t size = std::filesystem::file_size(logPath, missing);
    return missing ? 0 : size;
}

int openOutput(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}

}  // namespace

VeltrinProcess::VeltrinProcess(const std::optional<std::string>& display,
                               const std::map<std::string, std::string>& environment,
                               const std::vector<std::string>& arguments) {
    std::string pattern = (std::filesystem::temp_directory_path() / "veltrin-home-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temp folder");
    home_ = pattern;
    std::filesystem::create_directory(home_ + "/runtime");  // mkdtemp's 0700, as Qt wants
    std::filesystem::permissions(home_ + "/runtime", std::filesystem::perms::owner_all);
    logStart_ = logSize();
    ChildProcess::Spec spec;
    spec.arguments = {VELTRIN_BINARY};
    spec.arguments.insert(spec.arguments.end(), arguments.begin(), arguments.end());
    spec.environment = {{"DISPLAY", display},
                        {"HOME", home_},
                        {"XDG_CONFIG_HOME", home_ + "/config"},
                        {"XDG_RUNTIME_DIR", home_ + "/runtime"},
                        {"WAYLAND_DISPLAY", std::nullopt},
                        {"QUELM_PIN_TEST", std::nullopt}};
    for (const auto& [name, value] : environment)
        spec.environment[name] = value;
    configHome_ = *spec.environment["XDG_CONFIG_HOME"];
    spec.stdoutFd = openOutput(home_ + "/stdout");
    spec.stderrFd = openOutput(home_ + "/stderr");
    process_ = std::make_unique<ChildProcess>(spec);
    close(spec.stdoutFd);
    close(spec.stderrFd);
}

VeltrinProcess::Outcome VeltrinProcess::command(
    const std::string& option, const std::map<std::string, std::string>& environment) {
    VeltrinProcess shell(std::nullopt, environment, {option});
    Outcome outcome{shell.waitForExit(std::chrono::seconds(30)), ""};
    outcome.standardError = shell.standardError();
    return outcome;
}

VeltrinProcess::~VeltrinProcess() {
    process_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
}

std::string VeltrinProcess::standardOutput() const {
    return readFile(home_ + "/stdout");
}

std::string VeltrinProcess::standardError() const {
    return readFile(home_ + "/stderr");
}

// A log that shrank was started anew: then all of it is new.
std::string VeltrinProcess::log() const {
    return readFile(logPath, logSize() >= logStart_ ? logStart_ : 0);
}

std::optional<std::string> VeltrinProcess::waitForLogLine(const std::string& text,
                                                          std::chrono::milliseconds timeout) const {
    std::optional<std::string> found;
    XDriver::waitUntil(
        [&] {
            std::istringstream lines(log());
            for (std::string line; std::getline(lines, line);) {
                if (line.find(text) == std::string::npos) continue;
                found = line;
                return true;
            }
            return false;
        },
        timeout, std::chrono::milliseconds(20));
    return found;
}
