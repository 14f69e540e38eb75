#include "platform/sim/SimAXObservers.h"

#include <algorithm>

#include "platform/AXElements.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

struct SimAXObservers::Source : platform::AXObserverSource {};

struct SimAXObservers::Observer : platform::AXObserver {
    struct Registration {
        platform::AXElement element;
        std::string notification;
        void* refcon = nullptr;
    };
    int32_t pid = 0;
    Callback callback = nullptr;
    std::vector<Registration> registrations;
    std::shared_ptr<Source> source;
};

platform::AXError SimAXObservers::create(int32_t pid, Callback callback,
                                         std::shared_ptr<platform::AXObserver>& observer) {
    desktop_.requireMainThread("accessibility observer creation");
    if (!desktop_.accessibilityTrusted) return platform::axErrorAPIDisabled;
    if (pid <= 0 || callback == nullptr) return platform::axErrorIllegalArgument;
    if (createError != platform::axSuccess) return createError;
    auto made = std::make_shared<Observer>();
    made->pid = pid;
    made->callback = callback;
    std::erase_if(observers_, [](const auto& weak) { return weak.expired(); });
    observers_.push_back(made);
    ++created_;
    observer = made;
    return platform::axSuccess;
}

platform::AXError SimAXObservers::addNotification(platform::AXObserver& observer,
                                                  const platform::AXElement& element,
                                                  std::string_view notification, void* refcon) {
    auto& ours = static_cast<Observer&>(observer);
    if (element.pid != ours.pid) return platform::axErrorIllegalArgument;
    ours.registrations.push_back({element, std::string(notification), refcon});
    return platform::axSuccess;
}

std::shared_ptr<platform::AXObserverSource> SimAXObservers::runLoopSource(
    platform::AXObserver& observer) {
    auto& ours = static_cast<Observer&>(observer);
    if (ours.source) return ours.source;
    ours.source = std::make_shared<Source>();
    return ours.source;
}

void SimAXObservers::addToMainRunLoop(const std::shared_ptr<platform::AXObserverSource>& source) {
    desktop_.requireMainThread("adding a run-loop source");
    auto ours = std::static_pointer_cast<Source>(source);
    if (ours && std::find(sources_.begin(), sources_.end(), ours) == sources_.end())
        sources_.push_back(ours);
}

void SimAXObservers::removeFromMainRunLoop(
    const std::shared_ptr<platform::AXObserverSource>& source) {
    desktop_.requireMainThread("removing a run-loop source");
    std::erase(sources_, std::static_pointer_cast<Source>(source));
}

bool SimAXObservers::announces(int32_t pid) const {
    const auto found = silent_.find(pid);
    return found == silent_.end() || !found->second;
}

bool SimAXObservers::moveWindow(uint32_t window, platform::Point origin) {
    SimWindow* found = desktop_.findWindow(window);
    if (found == nullptr) return false;
    found->frame.x = origin.x;
    found->frame.y = origin.y;
    announce(window, found->ownerPid, "AXWindowMoved");
    return true;
}

bool SimAXObservers::resizeWindow(uint32_t window, platform::Size size) {
    SimWindow* found = desktop_.findWindow(window);
    if (found == nullptr) return false;
    found->frame.width = size.width;
    found->frame.height = size.height;
    announce(window, found->ownerPid, "AXWindowResized");
    return true;
}

bool SimAXObservers::onRunLoop(const Observer& observer) const {
    return observer.source &&
           std::find(sources_.begin(), sources_.end(), observer.source) != sources_.end();
}

void SimAXObservers::announce(uint32_t window, int32_t owner, const char* notification) {
    desktop_.requireMainThread("a window notification");
    if (owner == 0 || !announces(owner)) return;
    for (const auto& weak : observers_) {
        const auto observer = weak.lock();
        if (!observer || observer->pid != owner) continue;
        for (size_t i = 0; i < observer->registrations.size(); ++i) {
            const auto& registration = observer->registrations[i];
            if (registration.element.window != window || registration.notification != notification)
                continue;
            desktop_.postMain(0, [this, weak, i] { deliver(weak, i); });
        }
    }
}

// The observer may have left the run loop or gone since the notification was posted.
void SimAXObservers::deliver(const std::weak_ptr<Observer>& weak, size_t registration) {
    const auto observer = weak.lock();
    if (!observer || !onRunLoop(*observer)) return;
    const auto entry = observer->registrations[registration];
    ++callbacks_;
    observer->callback(entry.element, entry.notification, entry.refcon);
}

}  // namespace sim
