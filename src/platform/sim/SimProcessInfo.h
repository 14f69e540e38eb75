#pragma once

#include "platform/ProcessInfo.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// Answers for the copy of the program whose work is running.
class SimProcessInfo : public platform::ProcessInfo {
public:
    explicit SimProcessInfo(SimDesktop& desktop) : desktop_(desktop) {}
    int32_t processIdentifier() const override { return desktop_.currentProcess().pid; }
    std::map<std::string, std::string> environment() const override {
        return desktop_.currentProcess().environment;
    }
    std::optional<std::string> bundleIdentifier() const override {
        return desktop_.programBundleId;
    }

private:
    SimDesktop& desktop_;
};

}  // namespace sim
