#include "platform/desktop/ApplicationTerminations.h"

#include <unistd.h>

namespace desktop {

ApplicationTerminations::ApplicationTerminations(platform::Dispatch& dispatch)
    : dispatch_(dispatch), watch_([this](pid_t pid) { exited(pid); }) {}

void ApplicationTerminations::observe(platform::Workspace::TerminationHandler handler) {
    handlers_.push_back(std::move(handler));
}

bool ApplicationTerminations::isNew(pid_t pid) const {
    return pid > 0 && pid != ::getpid() && !known_.contains(pid);
}

void ApplicationTerminations::watch(const platform::RunningApplication& application) {
    const pid_t pid = application.processIdentifier;
    if (isNew(pid) && watch_.watch(pid)) known_.emplace(pid, application);
}

void ApplicationTerminations::exited(pid_t pid) {
    const auto found = known_.find(pid);
    if (found == known_.end()) return;
    const platform::TerminationNotification note{found->second};
    known_.erase(found);
    dispatch_.mainAsync([this, note] {
        for (const auto& handler : std::vector(handlers_))
            handler(note);
    });
}

}  // namespace desktop
