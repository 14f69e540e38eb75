#include <unistd.h>

#include <QDesktopServices>
#include <QUrl>

#include <algorithm>

#include "app/Log.h"
#include "platform/Workspace.h"
#include "platform/desktop/ApplicationTerminations.h"
#include "platform/desktop/DesktopProcessInfo.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11FrontWindow.h"
#include "platform/desktop/x11/X11Properties.h"
#include "platform/desktop/x11/X11Requests.h"
#include "platform/desktop/x11/X11Services.h"
#include "platform/desktop/x11/X11SingleCopy.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

platform::RunningApplication applicationOf(const X11Client& client) {
    return {client.pid, applicationIdentity(client), client.className};
}

// Other programs are known by the windows they manage to show: their pid, identity and
// class. The program's own copies meet through a selection on the display. The application
// in front owns the window in front, which is not always the active one (readFrontWindow).
class X11Workspace : public platform::Workspace {
public:
    X11Workspace(X11Context& context, platform::Dispatch& dispatch)
        : context_(context), terminations_(dispatch), singleCopy_(context) {
        context.windows().addChangeListener([this] { watchClients(); });
        watchClients();
    }

    std::optional<platform::RunningApplication> frontmostApplication() const override {
        X11Connection& x = context_.main();
        const xcb_window_t front = readFrontWindow(x);
        if (front == 0) return std::nullopt;
        std::optional<X11Client> client = context_.windows().client(front);
        if (!client) {  // not managed yet, or one of ours
            client = X11Client{};
            client->client = front;
            readClientIdentity(x, *client);
        }
        if (client->pid == 0) return std::nullopt;
        return applicationOf(*client);
    }

    std::vector<platform::RunningApplication> runningApplications(
        const std::string& bundleIdentifier) const override {
        std::vector<platform::RunningApplication> apps;
        const DesktopProcessInfo self;
        if (self.bundleIdentifier() == bundleIdentifier) {
            apps.push_back({self.processIdentifier(), bundleIdentifier, "Veltrin"});
            if (const auto other = singleCopy_.otherCopy())
                apps.push_back({*other, bundleIdentifier, "Veltrin"});
        }
        for (const X11Client& client : context_.windows().clientsTopFirst()) {
            if (client.pid == 0 || applicationIdentity(client) != bundleIdentifier) continue;
            const bool listed = std::any_of(apps.begin(), apps.end(), [&](const auto& app) {
                return app.processIdentifier == client.pid;
            });
            if (!listed) apps.push_back(applicationOf(client));
        }
        return apps;
    }

    void observeTerminations(TerminationHandler handler) override {
        terminations_.observe(std::move(handler));
    }

    bool activate(const platform::RunningApplication& application, unsigned) override {
        for (const X11Client& client : context_.windows().clientsTopFirst()) {
            if (client.pid != application.processIdentifier) continue;
            requestActivation(context_, client.client);
            return true;
        }
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

    // The privacy pages the menu offers have no counterpart on an X11 desktop.
    bool openURL(const std::string& url) override {
        if (url.rfind("x-apple.systempreferences:", 0) == 0) {
            flog("open: no settings page on this desktop for " + url);
            return false;
        }
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    }

private:
    void watchClients() {
        for (const X11Client& client : context_.windows().clientsTopFirst())
            if (terminations_.isNew(client.pid)) terminations_.watch(applicationOf(client));
    }

    X11Context& context_;
    ApplicationTerminations terminations_;
    X11SingleCopy singleCopy_;
};

}  // namespace

std::unique_ptr<platform::Workspace> makeWorkspace(X11Context& context,
                                                   platform::Dispatch& dispatch) {
    return std::make_unique<X11Workspace>(context, dispatch);
}

}  // namespace desktop
