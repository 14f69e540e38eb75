#pragma once

#include "platform/Files.h"
#include "platform/posix/PosixFiles.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// Keeps what was appended per path; writes it to the real file too when asked to.
class SimFiles : public platform::Files {
public:
    explicit SimFiles(SimDesktop& desktop) : desktop_(desktop) {}
    void appendRecord(const std::string& path, std::string_view bytes) override {
        std::lock_guard lock(desktop_.filesMutex);
        desktop_.files[path].append(bytes);
        if (desktop_.passThroughFiles) real_.appendRecord(path, bytes);
    }

private:
    SimDesktop& desktop_;
    platform::PosixFiles real_;
};

}  // namespace sim
