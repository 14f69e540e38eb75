#include "platform/desktop/x11/DesktopWindowX11.h"

#include "platform/Platform.h"
#include "platform/desktop/x11/X11Client.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11KeyNaming.h"
#include "platform/desktop/x11/X11Monitors.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

constexpr uint32_t sourceApplication = 1;

}  // namespace

bool DesktopWindowX11::compositorRuns() const {
    X11Connection& x = context_.main();
    const auto cookie = xcb_get_selection_owner(x.get(), x.atom("_NET_WM_CM_S0"));
    const auto reply = xreply(xcb_get_selection_owner_reply(x.get(), cookie, nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

void DesktopWindowX11::stampUserTime(uint32_t window) const {
    const xcb_timestamp_t time = context_.userTime();
    if (time == XCB_CURRENT_TIME) return;
    X11Connection& x = context_.main();
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, x.atom("_NET_WM_USER_TIME"),
                        XCB_ATOM_CARDINAL, 32, 1, &time);
    x.flush();
}

void DesktopWindowX11::requestActivation(uint32_t window) const {
    X11Connection& x = context_.main();
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = x.atom("_NET_ACTIVE_WINDOW");
    event.data.data32[0] = sourceApplication;
    event.data.data32[1] = context_.userTime();
    event.data.data32[2] = readActiveWindow(x);
    xcb_send_event(x.get(), 0, x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    x.flush();
}

platform::Point DesktopWindowX11::origin() const {
    return context_.windows().origin();
}

double DesktopWindowX11::refreshRate() const {
    return readRefreshRate(context_.main());
}

// The keysym is left aside: the key's first keysym in the server's mapping names it.
std::optional<platform::KeyEvent> DesktopWindowX11::keyEvent(uint32_t keycode, uint32_t,
                                                             uint32_t state) const {
    const auto* naming = dynamic_cast<const X11KeyNaming*>(&platform::keyNaming());
    if (naming == nullptr) return std::nullopt;
    return naming->keyEvent(static_cast<uint8_t>(keycode), static_cast<uint16_t>(state));
}

}  // namespace desktop
