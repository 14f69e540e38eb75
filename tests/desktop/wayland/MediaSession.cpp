#include "desktop/wayland/MediaSession.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <thread>

namespace {

using namespace std::chrono_literals;

bool waitFor(const std::function<bool()>& ready, std::chrono::seconds timeout = 20s) {
    for (auto deadline = std::chrono::steady_clock::now() + timeout;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(50ms))
        if (ready()) return true;
    return false;
}

std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (size_t read = fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, read);
        pclose(pipe);
    }
    return text;
}

}  // namespace

MediaSession::MediaSession(bool withPipeWire) {
    std::string pattern = "/tmp/veltrin-media-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temp folder");
    directory_ = pattern;
    bus_ = "unix:path=" + directory_ + "/bus";
    setenv("XDG_RUNTIME_DIR", directory_.c_str(), 1);
    setenv("PIPEWIRE_RUNTIME_DIR", directory_.c_str(), 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", bus_.c_str(), 1);
    start({"dbus-daemon", "--session", "--nofork", "--address=" + bus_});
    if (!waitFor([&] { return std::filesystem::exists(directory_ + "/bus"); }))
        throw std::runtime_error("the session bus did not start");
    if (withPipeWire) startPipeWire();
}

void MediaSession::startPipeWire() {
    std::filesystem::remove(directory_ + "/pipewire-0");
    pipeWire_ = &start({"pipewire"});
    if (!waitFor([&] { return std::filesystem::exists(directory_ + "/pipewire-0"); }))
        throw std::runtime_error("PipeWire did not start");
    sessionManager_ = &start({"wireplumber"});
    waitForSessionManager();
}

void MediaSession::restartPipeWire() {
    for (ChildProcess* ending : {sessionManager_, pipeWire_})
        std::erase_if(processes_,
                      [ending](const auto& process) { return process.get() == ending; });
    startPipeWire();
}

MediaSession::~MediaSession() {
    while (!processes_.empty())
        processes_.pop_back();  // last started, first ended
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

ChildProcess& MediaSession::start(std::vector<std::string> arguments,
                                  std::map<std::string, std::optional<std::string>> environment) {
    ChildProcess::Spec spec;
    spec.arguments = std::move(arguments);
    spec.environment = std::move(environment);
    spec.environment["HOME"] = directory_;
    spec.environment["XDG_CONFIG_HOME"] = directory_ + "/config";
    spec.environment["XDG_DATA_HOME"] = directory_ + "/data";
    spec.environment["XDG_STATE_HOME"] = directory_ + "/state";
    spec.environment["XDG_RUNTIME_DIR"] = directory_;
    spec.environment["DBUS_SESSION_BUS_ADDRESS"] = bus_;
    spec.environment["DISPLAY"] = std::nullopt;
    spec.environment["WAYLAND_DISPLAY"] = std::nullopt;
    processes_.push_back(std::make_unique<ChildProcess>(spec));
    return *processes_.back();
}

// Streams only get linked once the session manager is among PipeWire's clients.
void MediaSession::waitForSessionManager() {
    const std::string command = "XDG_RUNTIME_DIR=" + directory_ + " pw-cli ls Client 2>/dev/null";
    if (!waitFor([&] { return output(command).find("WirePlumber") != std::string::npos; }))
        throw std::runtime_error("the PipeWire session manager did not start");
}
