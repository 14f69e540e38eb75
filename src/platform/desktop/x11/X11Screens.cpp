#include <xcb/randr.h>

#include <algorithm>

#include "platform/Screens.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Monitors.h"
#include "platform/desktop/x11/X11Properties.h"
#include "platform/desktop/x11/X11Services.h"

namespace desktop {
namespace {

platform::Rect intersection(const platform::Rect& a, const platform::Rect& b) {
    const double x0 = std::max(a.minX(), b.minX());
    const double y0 = std::max(a.minY(), b.minY());
    const double x1 = std::min(a.maxX(), b.maxX());
    const double y1 = std::min(a.maxY(), b.maxY());
    if (x1 <= x0 || y1 <= y0) return a;  // a work area elsewhere leaves the monitor whole
    return {x0, y0, x1 - x0, y1 - y0};
}

// The RandR monitors as screens: bottom-left origin at the primary monitor, y upwards.
// Kept until the server reports a change of monitors.
class X11Screens : public platform::Screens {
public:
    explicit X11Screens(X11Context& context) : context_(context) {
        const auto* randr = xcb_get_extension_data(context.main().get(), &xcb_randr_id);
        const uint8_t base = randr && randr->present ? randr->first_event : 0;
        context.events().subscribe([this, base](const xcb_generic_event_t& event) {
            const uint8_t type = eventType(event);
            if (base != 0 &&
                (type == base + XCB_RANDR_SCREEN_CHANGE_NOTIFY || type == base + XCB_RANDR_NOTIFY))
                known_ = false;
            if (type == XCB_PROPERTY_NOTIFY) {
                const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
                if (notify.window == context_.main().root() &&
                    notify.atom == context_.main().atom("_NET_WORKAREA"))
                    known_ = false;
            }
            return false;
        });
    }

    std::vector<platform::Screen> screens() const override {
        if (!known_) {
            screens_ = read();
            known_ = true;
        }
        return screens_;
    }

    std::optional<platform::Screen> mainScreen() const override {
        const auto all = screens();
        if (all.empty()) return std::nullopt;
        return all.front();
    }

private:
    std::vector<platform::Screen> read() const {
        X11Connection& x = context_.main();
        const std::vector<X11Monitor> monitors = readMonitors(x);
        const platform::Rect primary = monitors.front().rect;
        const auto area = readCardinals(x, x.root(), x.atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL);
        std::vector<platform::Screen> screens;
        for (const X11Monitor& monitor : monitors) {
            platform::Rect visible = monitor.rect;
            if (area && area->size() >= 4)
                visible = intersection(monitor.rect, {double((*area)[0]), double((*area)[1]),
                                                      double((*area)[2]), double((*area)[3])});
            screens.push_back({flip(monitor.rect, primary), flip(visible, primary)});
        }
        return screens;
    }

    static platform::Rect flip(const platform::Rect& root, const platform::Rect& primary) {
        return {root.x - primary.x, primary.maxY() - root.maxY(), root.width, root.height};
    }

    X11Context& context_;
    mutable bool known_ = false;
    mutable std::vector<platform::Screen> screens_;
};

}  // namespace

std::unique_ptr<platform::Screens> makeScreens(X11Context& context) {
    return std::make_unique<X11Screens>(context);
}

}  // namespace desktop
