#include "desktop/CaptureDesktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/desktop/X11Client.h"
#include "platform/desktop/X11Connection.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

pid_t spawn(std::vector<std::string> arguments, int displayFd, const std::string& display) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (displayFd >= 0) posix_spawn_file_actions_adddup2(&actions, displayFd, 3);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::string_view(*entry).substr(0, 8) != "DISPLAY=") environment.emplace_back(*entry);
    if (!display.empty()) environment.push_back("DISPLAY=" + display);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void end(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

}  // namespace

CaptureDesktop::CaptureDesktop() {
    if (!startServer() || !startWindowManager()) display_.clear();
}

CaptureDesktop::~CaptureDesktop() {
    end(windowManager_);
    end(server_);
}

// Xvfb writes the display number it chose to descriptor 3 once it accepts clients.
bool CaptureDesktop::startServer() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    server_ = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                    fds[1], "");
    close(fds[1]);
    std::string number;
    pollfd fd{fds[0], POLLIN, 0};
    char c = 0;
    while (server_ > 0 && poll(&fd, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty()) return false;
    display_ = ":" + number;
    return true;
}

// Openbox names its check window before it manages anything: wait until it frames a
// probe window (a probe mapped too early stays unmanaged, so try a fresh one each time).
bool CaptureDesktop::startWindowManager() {
    windowManager_ = spawn({"openbox"}, -1, display_);
    auto connection = desktop::X11Connection::open(display_);
    if (windowManager_ <= 0 || connection == nullptr) return false;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline)
        if (framesProbe(*connection)) return true;
    return false;
}

bool CaptureDesktop::framesProbe(desktop::X11Connection& connection) {
    xcb_connection_t* c = connection.get();
    const xcb_window_t probe = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, connection.root(), 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(c, probe);
    bool framed = false;
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!framed && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
        framed = desktop::topLevelOf(connection, probe) != probe;
    }
    xcb_destroy_window(c, probe);
    connection.flush();
    return framed;
}
