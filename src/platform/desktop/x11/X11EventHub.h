#pragma once

#include <xcb/xcb.h>

#include <functional>
#include <memory>
#include <vector>

namespace desktop {

// Hands every event of the main connection to the services that asked for them, on the
// main thread. A handler may subscribe or unsubscribe others (or itself) while it runs.
class X11EventHub {
public:
    // Gives true when the event was ours and the toolkit need not see it.
    using Handler = std::function<bool(const xcb_generic_event_t& event)>;

    int subscribe(Handler handler);
    void unsubscribe(int token);
    // True when some handler took the event.
    bool dispatch(const xcb_generic_event_t& event);

private:
    struct Entry {
        int token;
        std::shared_ptr<Handler> handler;
    };
    std::vector<Entry> entries_;
    int next_ = 1;
};

// The response type of an event without the "sent by a client" bit.
inline uint8_t eventType(const xcb_generic_event_t& event) {
    return event.response_type & 0x7f;
}

}  // namespace desktop
