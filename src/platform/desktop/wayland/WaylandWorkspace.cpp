#include <unistd.h>

#include <QDesktopServices>
#include <QUrl>

#include <algorithm>
#include <cctype>

#include "app/Log.h"
#include "platform/Workspace.h"
#include "platform/desktop/ApplicationTerminations.h"
#include "platform/desktop/DesktopProcessInfo.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

platform::RunningApplication applicationOf(const WaylandWindow& window) {
    return {window.pid, window.executable, window.name()};
}

// Other programs are known by the windows the compositor lists: pid, executable and app id.
// The frontmost one owns the active window.
class WaylandWorkspace : public platform::Workspace {
public:
    WaylandWorkspace(WaylandContext& context, platform::Dispatch& dispatch)
        : context_(context), terminations_(dispatch) {
        context.windows().addChangeListener([this] { watchWindows(); });
    }

    std::optional<platform::RunningApplication> frontmostApplication() const override {
        const auto active = context_.windows().activeWindow();
        if (!active || active->pid <= 0) return std::nullopt;
        return applicationOf(*active);
    }

    std::vector<platform::RunningApplication> runningApplications(
        const std::string& bundleIdentifier) const override {
        std::vector<platform::RunningApplication> apps;
        const DesktopProcessInfo self;
        if (self.bundleIdentifier() == bundleIdentifier)
            apps.push_back({self.processIdentifier(), bundleIdentifier, "Veltrin"});
        for (const WaylandWindow& window : context_.windows().windowsTopFirst()) {
            if (window.pid <= 0 || window.executable != bundleIdentifier) continue;
            const bool listed = std::any_of(apps.begin(), apps.end(), [&](const auto& app) {
                return app.processIdentifier == window.pid;
            });
            if (!listed) apps.push_back(applicationOf(window));
        }
        return apps;
    }

    void observeTerminations(TerminationHandler handler) override {
        terminations_.observe(std::move(handler));
    }

    bool activate(const platform::RunningApplication& application, unsigned) override {
        for (const WaylandWindow& window : context_.windows().windowsTopFirst())
            if (window.pid == application.processIdentifier)
                return context_.windows().activate(window.id);
        return false;
    }

    bool isValidURL(const std::string& text) const override {
        const size_t colon = text.find(':');
        return colon != std::string::npos && colon > 0 &&
               std::all_of(text.begin(), text.begin() + long(colon), [](char c) {
                   return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' ||
                          c == '+';
               });
    }

    // What the privacy pages grant is granted on KDE by the program's desktop entry.
    bool openURL(const std::string& url) override {
        if (url.rfind("x-apple.systempreferences:", 0) == 0) {
            flog(
                "open: on Wayland the compositor trusts a program through its desktop entry "
                "(X-KDE-Wayland-Interfaces), not a settings page: " +
                url);
            return false;
        }
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    }

private:
    void watchWindows() {
        for (const WaylandWindow& window : context_.windows().windowsTopFirst())
            if (terminations_.isNew(window.pid)) terminations_.watch(applicationOf(window));
    }

    WaylandContext& context_;
    ApplicationTerminations terminations_;
};

}  // namespace

std::unique_ptr<platform::Workspace> makeWaylandWorkspace(WaylandContext& context,
                                                          platform::Dispatch& dispatch) {
    return std::make_unique<WaylandWorkspace>(context, dispatch);
}

}  // namespace desktop
