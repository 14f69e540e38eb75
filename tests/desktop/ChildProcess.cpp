#include "desktop/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

std::vector<std::string> environmentFor(const ChildProcess::Spec& spec) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : spec.environment) {
        if (value) {
            variables[name] = *value;
        } else {
            variables.erase(name);
        }
    }
    std::vector<std::string> result;
    for (const auto& [name, value] : variables)
        result.push_back(name + "=" + value);
    return result;
}

// The program's path: as given when it has a slash, else the first match on PATH.
std::string resolve(const std::string& program) {
    if (program.find('/') != std::string::npos) return program;
    const char* path = std::getenv("PATH");
    std::string directories = path != nullptr ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= directories.size();) {
        const size_t end = std::min(directories.find(':', start), directories.size());
        const std::string candidate = directories.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return program;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void becomeChild(const ChildProcess::Spec& spec, pid_t parent, char** argv,
                              char** envp, int devNull) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    dup2(spec.stdinFd >= 0 ? spec.stdinFd : devNull, 0);
    dup2(spec.stdoutFd >= 0 ? spec.stdoutFd : devNull, 1);
    dup2(spec.stderrFd >= 0 ? spec.stderrFd : devNull, 2);
    for (const int fd : spec.keepOpen)
        fcntl(fd, F_SETFD, 0);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execve(argv[0], argv, envp);
    _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const Spec& spec) {
    if (spec.arguments.empty()) throw std::invalid_argument("ChildProcess: no program");
    std::vector<std::string> arguments = spec.arguments;
    arguments[0] = resolve(arguments[0]);
    std::vector<std::string> environment = environmentFor(spec);
    std::vector<char*> argv = pointers(arguments);
    std::vector<char*> envp = pointers(environment);
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) becomeChild(spec, parent, argv.data(), envp.data(), devNull);
    close(devNull);
    if (pid_ < 0) throw std::runtime_error("ChildProcess: fork failed");
    setpgid(pid_, pid_);  // also from here, so that stop() never races the child's own call
}

ChildProcess::~ChildProcess() {
    stop();
}

bool ChildProcess::reap(int options) {
    if (status_) return true;
    int raw = 0;
    const pid_t result = waitpid(pid_, &raw, options);
    if (result != pid_) return false;
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return true;
}

bool ChildProcess::running() {
    return !reap(WNOHANG);
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reap(WNOHANG)) {
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_;
}

void ChildProcess::stop(std::chrono::milliseconds grace) {
    if (pid_ <= 0) return;
    kill(-pid_, SIGTERM);
    if (!waitForExit(grace)) {
        kill(-pid_, SIGKILL);
        reap(0);
    }
    kill(-pid_, SIGKILL);  // what the leader left behind in its group
}
