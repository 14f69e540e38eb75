#include <string>
#include <vector>

#include "platform/AXElements.h"
#include "platform/AXObservers.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Services.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

// One application's moves and resizes, as the window manager's frame reports them.
class X11AXObserver : public platform::AXObserver,
                      public platform::AXObserverSource,
                      public std::enable_shared_from_this<X11AXObserver> {
public:
    struct Registration {
        platform::AXElement element;
        std::string notification;
        void* refcon;
    };

    X11AXObserver(X11Context& context, int32_t pid, platform::AXObservers::Callback callback)
        : context_(context), pid_(pid), callback_(callback) {}
    ~X11AXObserver() override { detach(); }

    int32_t pid() const { return pid_; }
    void add(Registration registration) { registrations_.push_back(std::move(registration)); }

    void attach() {
        if (listener_ != 0) return;
        std::weak_ptr<X11AXObserver> weak = weak_from_this();
        listener_ = context_.windows().addGeometryListener(
            [weak](const X11Client& client, bool moved, bool resized) {
                if (auto self = weak.lock()) self->changed(client, moved, resized);
            });
    }

    void detach() {
        if (listener_ == 0) return;
        context_.windows().removeListener(listener_);
        listener_ = 0;
    }

private:
    void changed(const X11Client& client, bool moved, bool resized) {
        for (const Registration& r : std::vector(registrations_)) {
            if (listener_ == 0) return;  // removed from the run loop by an earlier callback
            if (r.element.window != client.client) continue;
            if ((moved && r.notification == "AXWindowMoved") ||
                (resized && r.notification == "AXWindowResized"))
                callback_(r.element, r.notification, r.refcon);
        }
    }

    X11Context& context_;
    const int32_t pid_;
    const platform::AXObservers::Callback callback_;
    std::vector<Registration> registrations_;
    int listener_ = 0;
};

class X11AXObservers : public platform::AXObservers {
public:
    explicit X11AXObservers(X11Context& context) : context_(context) {}

    platform::AXError create(int32_t pid, Callback callback,
                             std::shared_ptr<platform::AXObserver>& observer) override {
        if (pid <= 0 || callback == nullptr) return platform::axErrorIllegalArgument;
        observer = std::make_shared<X11AXObserver>(context_, pid, callback);
        return platform::axSuccess;
    }

    platform::AXError addNotification(platform::AXObserver& observer,
                                      const platform::AXElement& element,
                                      std::string_view notification, void* refcon) override {
        auto& ours = static_cast<X11AXObserver&>(observer);
        if (element.window == 0 || element.pid != ours.pid())
            return platform::axErrorIllegalArgument;
        if (!context_.windows().client(static_cast<xcb_window_t>(element.window)))
            return platform::axErrorInvalidUIElement;
        ours.add({element, std::string(notification), refcon});
        return platform::axSuccess;
    }

    std::shared_ptr<platform::AXObserverSource> runLoopSource(
        platform::AXObserver& observer) override {
        return static_cast<X11AXObserver&>(observer).shared_from_this();
    }

    void addToMainRunLoop(const std::shared_ptr<platform::AXObserverSource>& source) override {
        if (auto* observer = dynamic_cast<X11AXObserver*>(source.get())) observer->attach();
    }

    void removeFromMainRunLoop(const std::shared_ptr<platform::AXObserverSource>& source) override {
        if (auto* observer = dynamic_cast<X11AXObserver*>(source.get())) observer->detach();
    }

private:
    X11Context& context_;
};

}  // namespace

std::unique_ptr<platform::AXObservers> makeAXObservers(X11Context& context) {
    return std::make_unique<X11AXObservers>(context);
}

}  // namespace desktop
