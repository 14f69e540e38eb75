#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/RunningApplication.h"

namespace platform {

// What a terminated-application notification carries: the application, when its user
// info holds one.
struct TerminationNotification {
    std::optional<RunningApplication> application;
};

class Workspace {
public:
    using TerminationHandler = std::function<void(const TerminationNotification&)>;

    virtual ~Workspace() = default;

    virtual std::optional<RunningApplication> frontmostApplication() const = 0;
    // In the desktop's order; this process is among them when the identifier is its own.
    virtual std::vector<RunningApplication> runningApplications(
        const std::string& bundleIdentifier) const = 0;
    // Every later termination is delivered on the main queue. Never removed.
    virtual void observeTerminations(TerminationHandler handler) = 0;
    // True when the activation was accepted.
    virtual bool activate(const RunningApplication& application, unsigned options) = 0;
    // Whether the text makes an address that can be opened.
    virtual bool isValidURL(const std::string& text) const = 0;
    virtual bool openURL(const std::string& url) = 0;
};

}  // namespace platform
