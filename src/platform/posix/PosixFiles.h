#pragma once

#include <mutex>
#include <set>
#include <string>

#include "platform/Files.h"

namespace platform {

// Appends to real files. The log lies in a world-writable folder, so it opens without
// following links or blocking on a planted pipe, appends only to a regular file of the
// running user that has no other name (no hard link), creates owner-only files and writes
// each record with one append-mode write so that two processes never interleave inside it.
// A file-size limit or a full disk loses the record rather than ending the program; a
// record cut short is finished when the rest fits, and otherwise the next one starts on a
// line of its own.
class PosixFiles : public Files {
public:
    PosixFiles();
    void appendRecord(const std::string& path, std::string_view bytes) override;

private:
    // Writes what it can, going on after a short write; how many bytes went out.
    static size_t writeAll(int fd, std::string_view bytes);
    bool wasCut(const std::string& path);
    void setCut(const std::string& path, bool cut);

    std::mutex mutex_;
    std::set<std::string> cut_;  // paths whose last record we left without its line feed
};

}  // namespace platform
