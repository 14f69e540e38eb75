#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/ChangeSignal.h"
#include "platform/desktop/wayland/WaylandWindow.h"

struct org_kde_plasma_window;
struct org_kde_plasma_window_management;
struct wl_array;
struct org_kde_plasma_window_listener;

namespace desktop {

class WaylandConnection;

// Other programs' windows as the compositor's window management announces them, kept
// current from its events. Changes happen on the main thread; reads are safe from any
// thread.
class WaylandWindowModel {
public:
    using GeometryListener =
        std::function<void(const WaylandWindow& window, bool moved, bool resized)>;
    // A window came, went, or changed its state or place in the stacking.
    using ChangeListener = std::function<void()>;

    // Listens to the window management as soon as the connection binds it.
    explicit WaylandWindowModel(WaylandConnection& connection);
    ~WaylandWindowModel();

    std::vector<WaylandWindow> windowsTopFirst() const;
    std::optional<WaylandWindow> window(uint32_t id) const;
    std::optional<WaylandWindow> activeWindow() const;
    // The window's rectangle relative to the main output's top left; false once it is gone.
    // Allocation-free.
    bool bounds(uint32_t id, platform::Rect& rect) const;
    void setOrigin(platform::Point origin);
    platform::Point origin() const;

    // Asks the compositor to activate (and so raise) the window; false when it is gone.
    bool activate(uint32_t id);

    ChangeSignal& changes() { return changes_; }
    int addGeometryListener(GeometryListener listener);
    int addChangeListener(ChangeListener listener);
    void removeListener(int token);

private:
    struct Entry;
    struct Listener {
        int token;
        GeometryListener geometry;
        ChangeListener change;
    };

    void listen();
    void forgetAll();
    static void windowAnnounced(void* data, org_kde_plasma_window_management*, uint32_t id);
    static void windowWithUuid(void* data, org_kde_plasma_window_management*, uint32_t id,
                               const char* uuid);
    static void stackingChanged(void* data, org_kde_plasma_window_management*, const char* uuids);
    void add(uint32_t id, const std::string& uuid);
    void remove(Entry* entry);
    void update(Entry* entry, const std::function<void(WaylandWindow&)>& change);
    void moved(Entry* entry, const platform::Rect& geometry);
    void notifyChange();
    static const ::org_kde_plasma_window_listener& windowListener();

    WaylandConnection& connection_;
    mutable std::mutex mutex_;  // guards entries_' windows, stacking_ and origin_
    std::vector<std::unique_ptr<Entry>> entries_;  // in the order they came
    std::vector<std::string> stacking_;            // uuids, bottom first
    platform::Point origin_;
    std::vector<Listener> listeners_;  // main thread
    ChangeSignal changes_;
    int nextToken_ = 1;
};

}  // namespace desktop
