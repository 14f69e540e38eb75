#include <xcb/composite.h>
#include <xcb/damage.h>
#include <xcb/shm.h>
#include <xcb/xfixes.h>

#include <mutex>
#include <string>

#include "platform/ShareableContent.h"
#include "platform/desktop/x11/X11Client.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Monitors.h"
#include "platform/desktop/x11/X11Services.h"

namespace desktop {
namespace {

platform::SCWindow shareable(const X11Client& client, platform::Point origin) {
    platform::SCWindow window;
    window.windowID = client.client;
    window.frame = client.visibleRect();
    window.frame.x -= origin.x;
    window.frame.y -= origin.y;
    if (client.pid != 0)
        window.owningApplication =
            platform::RunningApplication{client.pid, applicationIdentity(client), client.className};
    window.onScreen = client.mapped;
    return window;
}

bool compositeUsable(X11Connection& x) {
    if (!x.hasExtension("Composite")) return false;
    const auto cookie = xcb_composite_query_version(x.get(), 0, 2);
    const auto reply = fetch(x.get(), cookie, xcb_composite_query_version_reply);
    return reply && (reply->major_version > 0 || reply->minor_version >= 2);
}

bool xfixesUsable(X11Connection& x) {
    if (!x.hasExtension("XFIXES")) return false;
    const auto cookie = xcb_xfixes_query_version(x.get(), 2, 0);
    const auto reply = fetch(x.get(), cookie, xcb_xfixes_query_version_reply);
    return reply && reply->major_version >= 2;
}

// Capture needs Composite 0.2 or newer for the window's pixmap, Damage for its changes,
// XFixes 2 for the damaged region and MIT-SHM to read pixels cheaply: those missing, by name.
std::string missingCaptureExtensions(X11Connection& x) {
    std::string missing;
    const auto add = [&](bool present, const char* name) {
        if (!present) missing += (missing.empty() ? "" : ", ") + std::string(name);
    };
    add(compositeUsable(x), "Composite 0.2");
    add(x.hasExtension("DAMAGE"), "DAMAGE");
    add(xfixesUsable(x), "XFIXES 2");
    add(x.hasExtension("MIT-SHM"), "MIT-SHM");
    return missing;
}

// The managed windows, read afresh on a connection of its own from the global queue: the
// front window lookup waits for this answer with the main thread blocked.
class X11ShareableContent : public platform::ShareableContent {
public:
    X11ShareableContent(X11Context& context, platform::Dispatch& dispatch)
        : context_(context), dispatch_(dispatch) {}

    void request(bool, bool onScreenWindowsOnly, Completion completion) override {
        dispatch_.globalAsync([this, onScreenWindowsOnly, completion = std::move(completion)] {
            const std::shared_ptr<X11Connection> x = connection();
            if (x == nullptr) {
                completion(std::nullopt, platform::PlatformError{1, "the X display is gone"});
                return;
            }
            const platform::Point origin = globalOrigin(*x);
            platform::SCShareableContent content;
            for (const X11Client& client : scanClients(*x))
                if (client.mapped || !onScreenWindowsOnly)
                    content.windows.push_back(shareable(client, origin));
            completion(std::move(content), std::nullopt);
        });
    }

    bool preflightScreenCaptureAccess() const override {
        return missingCaptureExtensions(context_.main()).empty();
    }
    std::optional<platform::PermissionRemedy> screenCaptureRemedy() const override {
        return platform::PermissionRemedy::of(platform::PermissionRemedy::Kind::serverExtensions,
                                              missingCaptureExtensions(context_.main()));
    }

private:
    std::shared_ptr<X11Connection> connection() {
        std::lock_guard lock(mutex_);
        if (connection_ == nullptr || connection_->broken())
            connection_ = context_.openConnection();
        return connection_;
    }

    X11Context& context_;
    platform::Dispatch& dispatch_;
    std::mutex mutex_;  // guards connection_
    std::shared_ptr<X11Connection> connection_;
};

}  // namespace

std::unique_ptr<platform::ShareableContent> makeShareableContent(X11Context& context,
                                                                 platform::Dispatch& dispatch) {
    return std::make_unique<X11ShareableContent>(context, dispatch);
}

}  // namespace desktop
