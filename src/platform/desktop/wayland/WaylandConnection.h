#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct wl_display;
struct wl_proxy;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wl_subcompositor;
struct wl_output;
struct zwlr_layer_shell_v1;
struct org_kde_plasma_window_management;
struct zkde_screencast_unstable_v1;

namespace desktop {

class WaylandOutputs;

// One connection to the compositor and the globals the desktop binds on it. Main thread
// only: its events are read where the event loop finds the socket readable.
class WaylandConnection {
public:
    // A global the compositor took back: its interface name.
    using GlobalRemoved = std::function<void(const std::string& interface)>;

    // Nothing when the compositor cannot be reached. The globals come with start().
    static std::unique_ptr<WaylandConnection> connect(const std::string& name);
    // Reads and binds the globals; false when the compositor does not answer.
    bool start();
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* display() const { return display_; }
    int fd() const;
    // Sends what is queued; false once the connection is broken.
    bool flush();
    // Reads and handles what the compositor sent; false once the connection is broken.
    bool dispatch();
    bool roundtrip();
    bool broken() const;

    wl_compositor* compositor() const { return compositor_; }
    wl_shm* shm() const { return shm_; }
    wl_subcompositor* subcompositor() const { return subcompositor_; }
    zwlr_layer_shell_v1* layerShell() const { return layerShell_; }
    org_kde_plasma_window_management* windowManagement() const { return windowManagement_; }
    uint32_t windowManagementVersion() const { return windowManagementVersion_; }
    zkde_screencast_unstable_v1* screencast() const { return screencast_; }
    WaylandOutputs& outputs() { return *outputs_; }

    // What the desktop needs and the compositor does not offer this program, comma-separated;
    // empty when nothing is missing.
    std::string missing() const;
    // Whether the compositor is KWin, which grants what is missing to programs it trusts.
    bool kwin() const { return kwin_; }

    void onGlobalRemoved(GlobalRemoved listener) { removed_.push_back(std::move(listener)); }
    // Told as the window management is bound, before any of its events is read.
    void onWindowManagementBound(std::function<void()> bound) { bound_ = std::move(bound); }

private:
    struct Global {
        uint32_t name;
        std::string interface;
    };

    explicit WaylandConnection(wl_display* display);
    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version);
    static void globalRemove(void* data, wl_registry* registry, uint32_t name);
    void bind(uint32_t name, const std::string& interface, uint32_t version);
    void forget(uint32_t name);
    void retire(void* proxy);

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_subcompositor* subcompositor_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    org_kde_plasma_window_management* windowManagement_ = nullptr;
    uint32_t windowManagementVersion_ = 0;
    zkde_screencast_unstable_v1* screencast_ = nullptr;
    std::unique_ptr<WaylandOutputs> outputs_;
    std::vector<Global> globals_;
    std::vector<GlobalRemoved> removed_;
    std::function<void()> bound_;
    std::vector<wl_proxy*> retired_;  // withdrawn globals' proxies, freed with the connection
    bool kwin_ = false;
};

}  // namespace desktop
