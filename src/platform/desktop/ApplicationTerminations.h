#pragma once

#include <sys/types.h>

#include <map>
#include <vector>

#include "platform/Dispatch.h"
#include "platform/Workspace.h"
#include "platform/desktop/ProcessWatch.h"

namespace desktop {

// The terminated-application notifications of a Linux session: each process that shows a
// window is watched once; its end is told, as the application it was, on the main queue.
class ApplicationTerminations {
public:
    explicit ApplicationTerminations(platform::Dispatch& dispatch);

    void observe(platform::Workspace::TerminationHandler handler);
    // Whether `pid` needs watching: another process than this one, not watched yet.
    bool isNew(pid_t pid) const;
    void watch(const platform::RunningApplication& application);

private:
    void exited(pid_t pid);

    platform::Dispatch& dispatch_;
    ProcessWatch watch_;
    std::map<pid_t, platform::RunningApplication> known_;
    std::vector<platform::Workspace::TerminationHandler> handlers_;
};

}  // namespace desktop
