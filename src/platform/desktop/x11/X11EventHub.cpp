#include "platform/desktop/x11/X11EventHub.h"

#include <algorithm>

namespace desktop {

int X11EventHub::subscribe(Handler handler) {
    const int token = next_++;
    entries_.push_back({token, std::make_shared<Handler>(std::move(handler))});
    return token;
}

void X11EventHub::unsubscribe(int token) {
    std::erase_if(entries_, [token](const Entry& entry) { return entry.token == token; });
}

bool X11EventHub::dispatch(const xcb_generic_event_t& event) {
    const std::vector<Entry> entries = entries_;  // handlers may change the list
    bool taken = false;
    for (const Entry& entry : entries)
        taken = (*entry.handler)(event) || taken;
    return taken;
}

}  // namespace desktop
