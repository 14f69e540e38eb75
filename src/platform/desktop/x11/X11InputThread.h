#pragma once

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "platform/Geometry.h"
#include "platform/desktop/x11/X11Connection.h"

namespace desktop {

// Watches the mouse buttons of the whole display on a connection and thread of its own:
// XInput2 raw button events on the root, never grabbed, so every click still reaches its
// window. Raw events carry no position; the pointer is asked for each.
class X11InputThread {
public:
    // Logical button number (after the device's button mapping), pressed or released, and
    // the pointer in root coordinates. Called on the input thread.
    using Sink = std::function<void(uint32_t button, bool pressed, platform::Point root)>;

    // Nothing when the connection is gone or the server lacks XInput 2.2.
    static std::unique_ptr<X11InputThread> start(std::shared_ptr<X11Connection> connection,
                                                 Sink sink);
    ~X11InputThread();  // wakes the thread and waits for it
    X11InputThread(const X11InputThread&) = delete;
    X11InputThread& operator=(const X11InputThread&) = delete;

    // False once the connection broke; the thread has ended then.
    bool alive() const { return alive_.load(); }

private:
    X11InputThread(std::shared_ptr<X11Connection> connection, uint8_t opcode, int wake, Sink sink);

    void run();
    bool drainEvents();
    void rawButton(const xcb_generic_event_t& event, bool pressed);
    uint32_t logicalButton(uint32_t physical, xcb_input_get_device_button_mapping_cookie_t cookie);

    std::shared_ptr<X11Connection> connection_;
    uint8_t opcode_;
    int wake_;  // eventfd: readable when the thread should end
    Sink sink_;
    std::atomic<bool> alive_{true};
    std::thread thread_;
};

}  // namespace desktop
