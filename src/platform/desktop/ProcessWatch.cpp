#include "platform/desktop/ProcessWatch.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace desktop {

ProcessWatch::ProcessWatch(Exited exited) : exited_(std::move(exited)) {}

ProcessWatch::~ProcessWatch() {
    for (auto& [pid, watch] : watches_) {
        watch.notifier.reset();
        ::close(watch.fd);
    }
}

bool ProcessWatch::watch(pid_t pid) {
    if (pid <= 0 || watches_.contains(pid)) return false;
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) return false;
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [this, pid] { ended(pid); });
    watches_.emplace(pid, Watch{fd, std::move(notifier)});
    return true;
}

void ProcessWatch::ended(pid_t pid) {
    const auto found = watches_.find(pid);
    if (found == watches_.end()) return;
    found->second.notifier->setEnabled(false);
    found->second.notifier.release()->deleteLater();  // we are inside its signal
    ::close(found->second.fd);
    watches_.erase(found);
    exited_(pid);
}

}  // namespace desktop
