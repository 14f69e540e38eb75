#include "platform/posix/PosixFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace platform {
namespace {

// A write past the file-size limit then fails with EFBIG instead of ending the process.
// A handler someone else installed is left as it is.
void ignoreFileSizeSignal() {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

// A second name for the file is refused like a symbolic link: it could be a hard link
// planted to another file of the user.
bool isOwnRegularFile(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
           info.st_nlink == 1;
}

}  // namespace

PosixFiles::PosixFiles() {
    static const bool ignored = (ignoreFileSizeSignal(), true);
    (void)ignored;
}

size_t PosixFiles::writeAll(int fd, std::string_view bytes) {
    size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + total, bytes.size() - total);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;
        total += static_cast<size_t>(written);
    }
    return total;
}

bool PosixFiles::wasCut(const std::string& path) {
    std::lock_guard lock(mutex_);
    return cut_.contains(path);
}

void PosixFiles::setCut(const std::string& path, bool cut) {
    std::lock_guard lock(mutex_);
    if (cut) {
        cut_.insert(path);
    } else {
        cut_.erase(path);
    }
}

void PosixFiles::appendRecord(const std::string& path, std::string_view bytes) {
    const int flags = O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int fd = ::open(path.c_str(), flags, S_IRUSR | S_IWUSR);
    if (fd < 0) return;
    if (isOwnRegularFile(fd)) {
        const std::string record = wasCut(path) ? "\n" + std::string(bytes) : std::string(bytes);
        const size_t written = writeAll(fd, record);
        // Nothing written leaves the file as it was; a part written leaves a cut line.
        if (written > 0) setCut(path, written < record.size());
    }
    ::close(fd);
}

}  // namespace platform
