#include "platform/desktop/x11/X11Monitors.h"

#include <xcb/randr.h>

#include "platform/desktop/x11/X11Connection.h"

namespace desktop {
namespace {

X11Monitor wholeRoot(X11Connection& connection) {
    const xcb_screen_t& screen = *connection.screen();
    return {{0, 0, static_cast<double>(screen.width_in_pixels),
             static_cast<double>(screen.height_in_pixels)},
            true};
}

double modeRate(const xcb_randr_mode_info_t& mode) {
    if (mode.htotal == 0 || mode.vtotal == 0) return 0;
    return static_cast<double>(mode.dot_clock) / (double(mode.htotal) * double(mode.vtotal));
}

}  // namespace

std::vector<X11Monitor> readMonitors(X11Connection& connection) {
    xcb_connection_t* c = connection.get();
    const auto cookie = xcb_randr_get_monitors(c, connection.root(), 1);
    const auto reply = fetch(c, cookie, xcb_randr_get_monitors_reply);
    std::vector<X11Monitor> monitors;
    if (reply) {
        for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem > 0;
             xcb_randr_monitor_info_next(&it)) {
            const xcb_randr_monitor_info_t& info = *it.data;
            X11Monitor monitor{
                {double(info.x), double(info.y), double(info.width), double(info.height)},
                info.primary != 0};
            if (monitor.primary)
                monitors.insert(monitors.begin(), monitor);
            else
                monitors.push_back(monitor);
        }
    }
    if (monitors.empty()) monitors.push_back(wholeRoot(connection));
    monitors.front().primary = true;  // with no primary set, the first one leads
    return monitors;
}

double readRefreshRate(X11Connection& connection) {
    xcb_connection_t* c = connection.get();
    const auto cookie = xcb_randr_get_screen_resources_current(c, connection.root());
    const auto resources = fetch(c, cookie, xcb_randr_get_screen_resources_current_reply);
    if (!resources) return 60;
    const xcb_randr_mode_info_t* modes =
        xcb_randr_get_screen_resources_current_modes(resources.get());
    const int count = xcb_randr_get_screen_resources_current_modes_length(resources.get());
    for (int i = 0; i < count; ++i)
        if (const double rate = modeRate(modes[i]); rate >= 20 && rate <= 500) return rate;
    return 60;
}

platform::Point globalOrigin(X11Connection& connection) {
    const X11Monitor primary = readMonitors(connection).front();
    return {primary.rect.x, primary.rect.y};
}

}  // namespace desktop
