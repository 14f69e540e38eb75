#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AXObservers.h"
#include "platform/Geometry.h"

namespace sim {

class SimDesktop;

// Accessibility observers, and the moves and resizes of the desktop's windows that feed
// them. A move or resize changes the window server's record at once; when the owning
// application announces it (the default), every observer of that application whose
// source is on the main run loop and that registered the window for the notification
// gets a callback from the main queue, unless it was removed from the run loop or
// released before then.
class SimAXObservers : public platform::AXObservers {
public:
    explicit SimAXObservers(SimDesktop& desktop) : desktop_(desktop) {}

    platform::AXError create(int32_t pid, Callback callback,
                             std::shared_ptr<platform::AXObserver>& observer) override;
    platform::AXError addNotification(platform::AXObserver& observer,
                                      const platform::AXElement& element,
                                      std::string_view notification, void* refcon) override;
    std::shared_ptr<platform::AXObserverSource> runLoopSource(
        platform::AXObserver& observer) override;
    void addToMainRunLoop(const std::shared_ptr<platform::AXObserverSource>& source) override;
    void removeFromMainRunLoop(const std::shared_ptr<platform::AXObserverSource>& source) override;

    // --- control (main thread) -------------------------------------------------------
    // Window-server coordinates (top left, y downwards). False for an unknown window.
    bool moveWindow(uint32_t window, platform::Point origin);
    bool resizeWindow(uint32_t window, platform::Size size);
    // Whether the application tells its observers about its windows' moves and resizes.
    void setAnnounces(int32_t pid, bool announces) { silent_[pid] = !announces; }
    bool announces(int32_t pid) const;
    // When not success, observer creation fails with this code.
    platform::AXError createError = platform::AXError{0};
    int observersCreated() const { return created_; }
    size_t sourcesOnRunLoop() const { return sources_.size(); }
    // Callbacks made so far.
    int callbacks() const { return callbacks_; }

private:
    struct Observer;
    struct Source;

    void announce(uint32_t window, int32_t owner, const char* notification);
    void deliver(const std::weak_ptr<Observer>& weak, size_t registration);
    bool onRunLoop(const Observer& observer) const;

    SimDesktop& desktop_;
    std::vector<std::weak_ptr<Observer>> observers_;  // in creation order
    std::vector<std::shared_ptr<Source>> sources_;    // the run loop retains its sources
    std::map<int32_t, bool> silent_;
    int created_ = 0;
    int callbacks_ = 0;
};

}  // namespace sim
