#include "platform/ShareableContent.h"
#include "platform/desktop/wayland/KWinTrust.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

// The listed windows, read from the window model on the global queue: the front window
// lookup waits for this answer with the main thread blocked, and the model needs no main
// thread to be read.
class WaylandShareableContent : public platform::ShareableContent {
public:
    WaylandShareableContent(WaylandContext& context, platform::Dispatch& dispatch)
        : context_(context), dispatch_(dispatch) {}

    void request(bool, bool onScreenWindowsOnly, Completion completion) override {
        dispatch_.globalAsync([this, onScreenWindowsOnly, completion = std::move(completion)] {
            const platform::Point origin = context_.windows().origin();
            platform::SCShareableContent content;
            for (const WaylandWindow& window : context_.windows().windowsTopFirst()) {
                if (window.minimized() && onScreenWindowsOnly) continue;
                platform::SCWindow shared;
                shared.windowID = window.id;
                shared.frame = window.geometry;
                shared.frame.x -= origin.x;
                shared.frame.y -= origin.y;
                if (window.pid > 0)
                    shared.owningApplication =
                        platform::RunningApplication{window.pid, window.executable, window.name()};
                shared.onScreen = !window.minimized();
                content.windows.push_back(std::move(shared));
            }
            completion(std::move(content), std::nullopt);
        });
    }

    // The compositor offers the window capture only to a program it trusts.
    bool preflightScreenCaptureAccess() const override {
        return context_.connection().screencast() != nullptr;
    }
    std::optional<platform::PermissionRemedy> screenCaptureRemedy() const override {
        return trustRemedy(context_.connection());
    }

private:
    WaylandContext& context_;
    platform::Dispatch& dispatch_;
};

}  // namespace

std::unique_ptr<platform::ShareableContent> makeWaylandShareableContent(
    WaylandContext& context, platform::Dispatch& dispatch) {
    return std::make_unique<WaylandShareableContent>(context, dispatch);
}

}  // namespace desktop
