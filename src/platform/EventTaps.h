#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/Geometry.h"

namespace platform {

// A mouse event as an event tap sees it.
struct TapEvent {
    uint32_t type = 0;
    Point location;  // global display coordinates: top left of the main display, y downwards
    bool operator==(const TapEvent&) const = default;
};

// The tap itself and the run-loop source that delivers its events: opaque handles.
class EventTapPort {
public:
    virtual ~EventTapPort() = default;
};
class EventTapSource {
public:
    virtual ~EventTapSource() = default;
};

// Watches mouse events system-wide. Main thread only; callbacks arrive on the main
// thread while the tap is enabled and its source is on the main run loop.
class EventTaps {
public:
    static constexpr uint32_t leftMouseDown = 1;
    static constexpr uint32_t leftMouseUp = 2;
    static constexpr uint64_t leftMouseMask = (1u << leftMouseDown) | (1u << leftMouseUp);
    static constexpr int sessionEventTap = 1;
    static constexpr int headInsertEventTap = 0;
    static constexpr int defaultTapOptions = 0;

    // Gives the event to pass on, or nothing to drop it. `userInfo` is the unowned
    // context given at creation.
    using Callback = std::optional<TapEvent> (*)(uint32_t type, const TapEvent& event,
                                                 void* userInfo);

    virtual ~EventTaps() = default;

    // Nothing without the Accessibility permission.
    virtual std::shared_ptr<EventTapPort> create(int location, int placement, int options,
                                                 uint64_t eventsOfInterest, Callback callback,
                                                 void* userInfo) = 0;
    virtual void enable(EventTapPort& tap, bool enable) = 0;
    virtual std::shared_ptr<EventTapSource> createRunLoopSource(EventTapPort& tap, int order) = 0;
    // The main run loop, in the common modes.
    virtual void addToMainRunLoop(const std::shared_ptr<EventTapSource>& source) = 0;
    virtual void removeFromMainRunLoop(const std::shared_ptr<EventTapSource>& source) = 0;
    // The tap receives nothing more, ever.
    virtual void invalidate(EventTapPort& tap) = 0;
};

}  // namespace platform
