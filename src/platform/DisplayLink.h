#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// Calls its output handler once per display refresh on a thread of its own.
class DisplayLink {
public:
    // Runs on the link's thread; gives 0 for success.
    using OutputHandler = std::function<int32_t()>;

    virtual ~DisplayLink() = default;
    virtual int32_t setOutputHandler(OutputHandler handler) = 0;
    virtual int32_t start() = 0;
    // After stop() returns, the handler is not running and will not run again (unless
    // stop() was called from the handler itself, which then simply returns).
    virtual int32_t stop() = 0;
    virtual bool isRunning() const = 0;
};

class DisplayLinks {
public:
    virtual ~DisplayLinks() = default;
    // A link paced by the active displays; nothing when none can be made.
    virtual std::shared_ptr<DisplayLink> createWithActiveDisplays() = 0;
};

}  // namespace platform
