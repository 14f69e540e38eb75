#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

struct KeyEvent {
    uint16_t keyCode = 0;
    uint64_t modifierFlags = 0;  // keyboard-event modifier bits
    bool operator==(const KeyEvent&) const = default;
};

// The handle of an installed monitor.
class KeyMonitor {
public:
    virtual ~KeyMonitor() = default;
};

// Local monitors: they see this program's key events before its windows do, in the order
// they were installed. Main thread only.
class KeyMonitors {
public:
    static constexpr uint64_t keyDownMask = 1024;

    // Gives the event to pass on, or nothing to swallow it.
    using Handler = std::function<std::optional<KeyEvent>(const KeyEvent& event)>;

    virtual ~KeyMonitors() = default;
    // Nothing when no monitor could be installed.
    virtual std::shared_ptr<KeyMonitor> addLocalMonitor(uint64_t mask, Handler handler) = 0;
    virtual void removeMonitor(const std::shared_ptr<KeyMonitor>& monitor) = 0;
};

}  // namespace platform
