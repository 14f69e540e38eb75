#include <string>
#include <vector>

#include "platform/AXElements.h"
#include "platform/AXObservers.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

// One application's moves and resizes, as the compositor reports its windows' geometry.
class WaylandAXObserver : public platform::AXObserver,
                          public platform::AXObserverSource,
                          public std::enable_shared_from_this<WaylandAXObserver> {
public:
    struct Registration {
        platform::AXElement element;
        std::string notification;
        void* refcon;
    };

    WaylandAXObserver(WaylandContext& context, int32_t pid,
                      platform::AXObservers::Callback callback)
        : context_(context), pid_(pid), callback_(callback) {}
    ~WaylandAXObserver() override { detach(); }

    int32_t pid() const { return pid_; }
    void add(Registration registration) { registrations_.push_back(std::move(registration)); }

    void attach() {
        if (listener_ != 0) return;
        std::weak_ptr<WaylandAXObserver> weak = weak_from_this();
        listener_ = context_.windows().addGeometryListener(
            [weak](const WaylandWindow& window, bool moved, bool resized) {
                if (auto self = weak.lock()) self->changed(window, moved, resized);
            });
    }

    void detach() {
        if (listener_ == 0) return;
        context_.windows().removeListener(listener_);
        listener_ = 0;
    }

private:
    void changed(const WaylandWindow& window, bool moved, bool resized) {
        for (const Registration& r : std::vector(registrations_)) {
            if (listener_ == 0) return;  // removed from the run loop by an earlier callback
            if (r.element.window != window.id) continue;
            if ((moved && r.notification == "AXWindowMoved") ||
                (resized && r.notification == "AXWindowResized"))
                callback_(r.element, r.notification, r.refcon);
        }
    }

    WaylandContext& context_;
    const int32_t pid_;
    const platform::AXObservers::Callback callback_;
    std::vector<Registration> registrations_;
    int listener_ = 0;
};

class WaylandAXObservers : public platform::AXObservers {
public:
    explicit WaylandAXObservers(WaylandContext& context) : context_(context) {}

    platform::AXError create(int32_t pid, Callback callback,
                             std::shared_ptr<platform::AXObserver>& observer) override {
        if (pid <= 0 || callback == nullptr) return platform::axErrorIllegalArgument;
        observer = std::make_shared<WaylandAXObserver>(context_, pid, callback);
        return platform::axSuccess;
    }

    platform::AXError addNotification(platform::AXObserver& observer,
                                      const platform::AXElement& element,
                                      std::string_view notification, void* refcon) override {
        auto& ours = static_cast<WaylandAXObserver&>(observer);
        if (element.window == 0 || element.pid != ours.pid())
            return platform::axErrorIllegalArgument;
        if (!context_.windows().window(static_cast<uint32_t>(element.window)))
            return platform::axErrorInvalidUIElement;
        ours.add({element, std::string(notification), refcon});
        return platform::axSuccess;
    }

    std::shared_ptr<platform::AXObserverSource> runLoopSource(
        platform::AXObserver& observer) override {
        return static_cast<WaylandAXObserver&>(observer).shared_from_this();
    }

    void addToMainRunLoop(const std::shared_ptr<platform::AXObserverSource>& source) override {
        if (auto* observer = dynamic_cast<WaylandAXObserver*>(source.get())) observer->attach();
    }

    void removeFromMainRunLoop(const std::shared_ptr<platform::AXObserverSource>& source) override {
        if (auto* observer = dynamic_cast<WaylandAXObserver*>(source.get())) observer->detach();
    }

private:
    WaylandContext& context_;
};

}  // namespace

std::unique_ptr<platform::AXObservers> makeWaylandAXObservers(WaylandContext& context) {
    return std::make_unique<WaylandAXObservers>(context);
}

}  // namespace desktop
