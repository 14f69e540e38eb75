#pragma once

#include "platform/Files.h"
#include "platform/posix/PosixFiles.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// Keeps the latest records appended per path (about keptBytes of whole lines, so that a
// long session runs in flat memory); writes each to the real file too when asked to.
class SimFiles : public platform::Files {
public:
    static constexpr size_t keptBytes = 256 << 10;

    explicit SimFiles(SimDesktop& desktop) : desktop_(desktop) {}
    void appendRecord(const std::string& path, std::string_view bytes) override {
        std::lock_guard lock(desktop_.filesMutex);
        std::string& kept = desktop_.files[path];
        kept.append(bytes);
        if (kept.size() > 2 * keptBytes) forgetOldLines(kept);
        if (desktop_.passThroughFiles) real_.appendRecord(path, bytes);
    }

private:
    static void forgetOldLines(std::string& kept) {
        const size_t lineEnd = kept.find('\n', kept.size() - keptBytes);
        kept.erase(0, lineEnd == std::string::npos ? kept.size() - keptBytes : lineEnd + 1);
    }

    SimDesktop& desktop_;
    platform::PosixFiles real_;
};

}  // namespace sim
