#pragma once

// A program started by a desktop test, in a process group of its own so that whatever it
// starts in turn ends with it. It also dies when the test process dies, so a crashed test
// leaves nothing behind.
//
//   ChildProcess::Spec spec;
//   spec.arguments = {"Xvfb", "-displayfd", "3"};  // found on PATH
//   spec.environment["DISPLAY"] = ":5";
//   spec.keepOpen = {3};
//   ChildProcess process(spec);
//   process.stop();                        // SIGTERM to the group, SIGKILL after a grace time

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    struct Spec {
        std::vector<std::string> arguments;  // the program first
        // Added to (or, when the value is nullopt, removed from) this process's environment.
        std::map<std::string, std::optional<std::string>> environment;
        int stdinFd = -1;           // -1: /dev/null
        int stdoutFd = -1;          // -1: /dev/null
        int stderrFd = -1;          // -1: /dev/null
        std::vector<int> keepOpen;  // more descriptors the child inherits, at the same numbers
    };

    explicit ChildProcess(const Spec& spec);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // The exit status (128 + signal when killed), once it ended within `timeout`.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // Ends the whole group: SIGTERM, then SIGKILL if it is still there after `grace`.
    void stop(std::chrono::milliseconds grace = std::chrono::milliseconds(1000));

private:
    bool reap(int options);

    pid_t pid_ = -1;
    std::optional<int> status_;
};
