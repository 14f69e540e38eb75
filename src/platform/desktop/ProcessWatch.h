#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace desktop {

// Tells, on the main thread, when a watched process has exited: each pid is watched
// through a pidfd, which becomes readable at the exit.
class ProcessWatch {
public:
    using Exited = std::function<void(pid_t pid)>;

    explicit ProcessWatch(Exited exited);
    ~ProcessWatch();

    // False when the process is gone already or cannot be watched.
    bool watch(pid_t pid);
    bool isWatching(pid_t pid) const { return watches_.contains(pid); }

private:
    struct Watch {
        int fd;
        std::unique_ptr<QSocketNotifier> notifier;
    };
    void ended(pid_t pid);

    Exited exited_;
    std::map<pid_t, Watch> watches_;
};

}  // namespace desktop
