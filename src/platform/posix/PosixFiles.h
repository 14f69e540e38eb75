#pragma once

#include "platform/Files.h"

namespace platform {

// Appends to real files. The log lies in a world-writable folder, so it opens without
// following links or blocking on a planted pipe, creates owner-only files and writes
// each record with one append-mode write so that two processes never interleave inside it.
class PosixFiles : public Files {
public:
    void appendRecord(const std::string& path, std::string_view bytes) override;
};

}  // namespace platform
