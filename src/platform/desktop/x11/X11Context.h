#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <memory>
#include <string>

#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11EventHub.h"

namespace desktop {

class X11WindowModel;

// What every X11 service shares: the display, the main thread's connection and its
// events, and the window manager's view of the managed windows.
class X11Context {
public:
    X11Context(std::shared_ptr<X11Connection> main, std::string displayName);
    ~X11Context();

    // The toolkit's connection. Main thread only, except for plain requests.
    X11Connection& main() const { return *main_; }
    X11EventHub& events() { return events_; }
    const std::string& displayName() const { return displayName_; }
    // A connection of its own for a worker thread; nothing when the display is gone.
    std::shared_ptr<X11Connection> openConnection() const;

    X11WindowModel& windows() { return *windows_; }

    // The server time of the user's latest input we saw, for focus requests that the
    // window manager would otherwise refuse; CurrentTime before any.
    xcb_timestamp_t userTime() const { return userTime_.load(); }
    void noteUserTime(xcb_timestamp_t time) {
        if (time != XCB_CURRENT_TIME) userTime_.store(time);
    }

private:
    std::shared_ptr<X11Connection> main_;
    std::string displayName_;
    X11EventHub events_;
    std::unique_ptr<X11WindowModel> windows_;
    std::atomic<xcb_timestamp_t> userTime_{XCB_CURRENT_TIME};
};

}  // namespace desktop
