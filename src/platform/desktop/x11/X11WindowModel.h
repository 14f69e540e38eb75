#pragma once

#include <xcb/xcb.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/desktop/ChangeSignal.h"
#include "platform/desktop/x11/X11Client.h"

namespace desktop {

class X11Context;

// The managed windows as the window manager shows them, kept current from the main
// connection's events. Changes happen on the main thread; reads are safe from any thread.
class X11WindowModel {
public:
    // A frame moved or changed size (main thread).
    using GeometryListener = std::function<void(const X11Client& client, bool moved, bool resized)>;
    // The stacking of top-level windows may have changed, or the set of clients did.
    using ChangeListener = std::function<void()>;

    explicit X11WindowModel(X11Context& context);
    ~X11WindowModel();

    // Starts listening and reads the clients once. Main thread.
    void start();

    std::vector<X11Client> clientsTopFirst() const;
    std::optional<X11Client> client(xcb_window_t window) const;
    // The frame rectangle without shadow margins, in window-server coordinates (origin at
    // the primary monitor's top left). False when the client is gone. Allocation-free.
    bool bounds(xcb_window_t window, platform::Rect& rect) const;
    // Root coordinates of the global origin.
    platform::Point origin() const;

    // Told of every change of the managed windows' rectangles, mapping or the origin.
    ChangeSignal& changes() { return changes_; }

    int addGeometryListener(GeometryListener listener);
    int addChangeListener(ChangeListener listener);
    void removeListener(int token);

private:
    struct Listener {
        int token;
        GeometryListener geometry;
        ChangeListener change;
    };

    bool handle(const xcb_generic_event_t& event);
    void rescan();
    void refreshOrigin();
    // True when the event is only ours (a child of the root moved).
    bool configured(const xcb_configure_notify_event_t& event);
    void setMapped(xcb_window_t frame, bool mapped);
    void reparented(xcb_window_t client);
    void propertyChanged(const xcb_property_notify_event_t& event);
    void destroyed(xcb_window_t window);
    void removeClient(xcb_window_t window);
    void watchClient(xcb_window_t window);
    void addEvents(xcb_window_t window, uint32_t events);
    X11Client* findByFrame(xcb_window_t frame);
    X11Client* findByClient(xcb_window_t window);
    void notifyGeometry(const X11Client& client, bool moved, bool resized);
    // Tells the geometry listeners when what the user sees of the client changed.
    void notifyIfMoved(const X11Client& client, const platform::Rect& before);
    void notifyChange();
    void deliverChange();

    X11Context& context_;
    int subscription_ = 0;
    uint8_t randrEventBase_ = 0;
    mutable std::mutex mutex_;        // guards clients_ and origin_
    std::vector<X11Client> clients_;  // bottom first
    platform::Point origin_;
    std::vector<Listener> listeners_;  // main thread
    ChangeSignal changes_;
    int nextToken_ = 1;
    bool changePending_ = false;                            // main thread
    std::shared_ptr<int> alive_ = std::make_shared<int>();  // for work queued on the main loop
};

}  // namespace desktop
