#include "desktop/InputDesktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <gtest/gtest.h>

#include <chrono>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto startDeadline = std::chrono::seconds(20);

int millisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return std::max<int>(0, static_cast<int>(left.count()));
}

pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env(extraEnv);
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::string_view(*entry).substr(0, 8) != "DISPLAY=") env.emplace_back(*entry);
    std::vector<char*> argv, envp;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    for (const auto& entry : env)
        envp.push_back(const_cast<char*>(entry.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void end(pid_t& pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

bool hasWindowManagerCheck(desktop::X11Connection& x) {
    const auto cookie = xcb_get_property(x.get(), 0, x.root(), x.atom("_NET_SUPPORTING_WM_CHECK"),
                                         XCB_ATOM_WINDOW, 0, 1);
    const auto reply = desktop::xreply(xcb_get_property_reply(x.get(), cookie, nullptr));
    return reply && xcb_get_property_value_length(reply.get()) == 4;
}

}  // namespace

std::unique_ptr<InputDesktop> InputDesktop::start(bool windowManager) {
    std::unique_ptr<InputDesktop> desktop(new InputDesktop());
    if (!desktop->startServer()) return nullptr;
    if (windowManager && !desktop->startWindowManager()) return nullptr;
    return desktop;
}

InputDesktop::~InputDesktop() {
    input_.reset();
    end(windowManager_);
    end(server_);
}

// The server writes its display number to the descriptor once it accepts clients.
bool InputDesktop::startServer() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    ::fcntl(fds[1], F_SETFD, 0);  // the server keeps the writing end
    server_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24",
                     "-nolisten", "tcp"},
                    {});
    ::close(fds[1]);
    std::string number;
    const auto deadline = Clock::now() + startDeadline;
    pollfd readable{fds[0], POLLIN, 0};
    while (server_ > 0 && number.find('\n') == std::string::npos &&
           ::poll(&readable, 1, millisecondsLeft(deadline)) > 0) {
        char buffer[16];
        const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        number.append(buffer, static_cast<size_t>(got));
    }
    ::close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        ADD_FAILURE() << "Xvfb did not report a display number";
        return false;
    }
    display_ = ":" + number.substr(0, number.find('\n'));
    input_ = desktop::X11Connection::open(display_);
    if (!input_) ADD_FAILURE() << "cannot connect to " << display_;
    return input_ != nullptr;
}

// Ready once the window manager has announced itself on the root.
bool InputDesktop::startWindowManager() {
    const auto watcher = desktop::X11Connection::open(display_);
    if (!watcher) return false;
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(watcher->get(), watcher->root(), XCB_CW_EVENT_MASK, &mask);
    windowManager_ = spawn({"openbox", "--sm-disable"}, {"DISPLAY=" + display_});
    const auto deadline = Clock::now() + startDeadline;
    pollfd readable{xcb_get_file_descriptor(watcher->get()), POLLIN, 0};
    while (!hasWindowManagerCheck(*watcher)) {
        if (windowManager_ <= 0 || ::poll(&readable, 1, millisecondsLeft(deadline)) <= 0) {
            ADD_FAILURE() << "openbox did not come up on " << display_;
            return false;
        }
        while (auto event = desktop::xreply(xcb_poll_for_event(watcher->get()))) {
        }
    }
    return true;
}

void InputDesktop::fake(uint8_t type, uint8_t detail, int x, int y) {
    xcb_test_fake_input(input_->get(), type, detail, XCB_CURRENT_TIME, input_->root(),
                        static_cast<int16_t>(x), static_cast<int16_t>(y), 0);
}

void InputDesktop::key(xcb_keysym_t keysym, bool press) {
    fake(press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode(keysym));
    sync();
}

void InputDesktop::tap(xcb_keysym_t keysym) {
    key(keysym, true);
    key(keysym, false);
}

void InputDesktop::button(uint8_t button, bool press) {
    fake(press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button);
    sync();
}

void InputDesktop::moveTo(int x, int y) {
    fake(XCB_MOTION_NOTIFY, 0, x, y);
    sync();
}

void InputDesktop::sync() {
    const auto cookie = xcb_get_input_focus(input_->get());
    std::free(xcb_get_input_focus_reply(input_->get(), cookie, nullptr));
}

xcb_keycode_t InputDesktop::keycode(xcb_keysym_t keysym) {
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(input_->get());
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    const xcb_keycode_t code = codes != nullptr ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    return code;
}

bool InputDesktop::run(const std::vector<std::string>& command) {
    const pid_t pid = spawn(command, {"DISPLAY=" + display_});
    int status = -1;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void InputDesktop::stopServer() {
    end(windowManager_);
    end(server_);
}
