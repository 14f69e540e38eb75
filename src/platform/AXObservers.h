#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Accessibility.h"

namespace platform {

// An observer of one application's accessibility notifications, and the run-loop source
// that delivers them: opaque handles.
class AXObserver {
public:
    virtual ~AXObserver() = default;
};
class AXObserverSource {
public:
    virtual ~AXObserverSource() = default;
};

// Notifications such as "AXWindowMoved" and "AXWindowResized", as the observed application
// announces them. Main thread only; callbacks arrive on the main thread while the
// observer's source is on the main run loop.
class AXObservers {
public:
    // `refcon` is the unowned context given when the notification was added.
    using Callback = void (*)(const AXElement& element, std::string_view notification,
                              void* refcon);

    virtual ~AXObservers() = default;

    virtual AXError create(int32_t pid, Callback callback,
                           std::shared_ptr<AXObserver>& observer) = 0;
    virtual AXError addNotification(AXObserver& observer, const AXElement& element,
                                    std::string_view notification, void* refcon) = 0;
    // The same source for every call on one observer.
    virtual std::shared_ptr<AXObserverSource> runLoopSource(AXObserver& observer) = 0;
    // The main run loop, in the common modes.
    virtual void addToMainRunLoop(const std::shared_ptr<AXObserverSource>& source) = 0;
    virtual void removeFromMainRunLoop(const std::shared_ptr<AXObserverSource>& source) = 0;
};

}  // namespace platform
