#include "platform/desktop/x11/X11Requests.h"

#include "platform/desktop/x11/X11Client.h"
#include "platform/desktop/x11/X11Context.h"

namespace desktop {
namespace {

constexpr uint32_t sourcePager = 2;

void sendToRoot(X11Connection& x, xcb_window_t window, const char* message,
                const uint32_t (&data)[5]) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = x.atom(message);
    for (int i = 0; i < 5; ++i)
        event.data.data32[i] = data[i];
    xcb_send_event(x.get(), 0, x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

}  // namespace

void requestActivation(X11Context& context, xcb_window_t client) {
    X11Connection& x = context.main();
    const uint32_t data[5] = {sourcePager, context.userTime(), readActiveWindow(x), 0, 0};
    sendToRoot(x, client, "_NET_ACTIVE_WINDOW", data);
    x.flush();
}

void requestRaise(X11Context& context, xcb_window_t client) {
    X11Connection& x = context.main();
    const uint32_t data[5] = {sourcePager, XCB_WINDOW_NONE, XCB_STACK_MODE_ABOVE, 0, 0};
    sendToRoot(x, client, "_NET_RESTACK_WINDOW", data);
    x.flush();
}

}  // namespace desktop
