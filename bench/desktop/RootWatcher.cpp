#include "RootWatcher.h"

#include <poll.h>

#include <cstdlib>
#include <stdexcept>

#include "MonotonicClock.h"

RootWatcher::RootWatcher(const std::string& display) {
    int screenNumber = 0;
    connection_ = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        xcb_disconnect(connection_);
        throw std::runtime_error("RootWatcher: cannot open display " + display);
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, screens.data->root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

RootWatcher::~RootWatcher() {
    xcb_disconnect(connection_);
}

void RootWatcher::drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
        std::free(event);
}

std::optional<RootWatcher::Configure> RootWatcher::next(int64_t deadlineNs) {
    while (xcb_generic_event_t* event = nextEvent(deadlineNs)) {
        const bool configure = (event->response_type & 0x7f) == XCB_CONFIGURE_NOTIFY;
        const auto notify = *reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        std::free(event);
        if (!configure) continue;
        const int border = notify.border_width;
        return Configure{
            notify.window,
            {notify.x, notify.y, notify.width + 2 * border, notify.height + 2 * border},
            readNs_,
            read_};
    }
    return std::nullopt;
}

// An event already read keeps the stamp of its read; otherwise waits for the socket and
// stamps the new read.
xcb_generic_event_t* RootWatcher::nextEvent(int64_t deadlineNs) {
    if (xcb_generic_event_t* queued = xcb_poll_for_queued_event(connection_)) return queued;
    for (;;) {
        const int64_t left = deadlineNs - monotonicNs();
        if (left <= 0) return nullptr;
        pollfd ready{xcb_get_file_descriptor(connection_), POLLIN, 0};
        const int timeoutMs = static_cast<int>((left + 999'999) / 1'000'000);
        if (poll(&ready, 1, timeoutMs) <= 0) continue;
        readNs_ = monotonicNs();
        ++read_;
        if (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) return event;
        if (xcb_connection_has_error(connection_) != 0) return nullptr;
    }
}
