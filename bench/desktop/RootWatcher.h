#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string>

#include "desktop/XDriver.h"

// A connection of its own that watches the root's children being configured (the window
// manager's frames, override-redirect panels), stamping each event when it was read from
// the server. Events read together share a read number: their order is known, their
// distance in time is not.
class RootWatcher {
public:
    struct Configure {
        xcb_window_t window = XCB_NONE;
        XDriver::Rect rect;  // border included, as XDriver reports rectangles
        int64_t readNs = 0;
        uint64_t read = 0;
    };

    // Throws std::runtime_error when the display cannot be opened.
    explicit RootWatcher(const std::string& display);
    ~RootWatcher();
    RootWatcher(const RootWatcher&) = delete;
    RootWatcher& operator=(const RootWatcher&) = delete;

    // The next ConfigureNotify of a child of the root, once it comes before `deadlineNs`
    // (CLOCK_MONOTONIC).
    std::optional<Configure> next(int64_t deadlineNs);
    // Forgets every event received so far.
    void drain();

private:
    xcb_generic_event_t* nextEvent(int64_t deadlineNs);

    xcb_connection_t* connection_ = nullptr;
    int64_t readNs_ = 0;
    uint64_t read_ = 0;
};
