#pragma once

#include <chrono>

namespace platform {

// Wall-clock time as the desktop sees it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point now() const = 0;
};

}  // namespace platform
