#include "platform/desktop/wayland/WaylandConnection.h"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "plasma-window-management-client-protocol.h"
#include "platform/desktop/wayland/WaylandOutputs.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "zkde-screencast-unstable-v1-client-protocol.h"

namespace desktop {
namespace {

template <typename T>
T* bindAs(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered,
          uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

// Offered by KWin alone, to every program, trusted or not.
constexpr const char* kwinMark = "org_kde_kwin_server_decoration_palette_manager";

}  // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::connect(const std::string& name) {
    wl_display* display = wl_display_connect(name.empty() ? nullptr : name.c_str());
    if (display == nullptr) return nullptr;
    return std::unique_ptr<WaylandConnection>(new WaylandConnection(display));
}

// Three rounds: the globals; what binding them sent (the outputs' modes, the windows); the
// windows' initial states.
bool WaylandConnection::start() {
    return roundtrip() && roundtrip() && roundtrip();
}

WaylandConnection::WaylandConnection(wl_display* display)
    : display_(display), outputs_(std::make_unique<WaylandOutputs>()) {
    static const wl_registry_listener listener{&WaylandConnection::global,
                                               &WaylandConnection::globalRemove};
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &listener, this);
}

// Disconnecting frees the display alone: each proxy is freed here, first.
WaylandConnection::~WaylandConnection() {
    outputs_.reset();
    for (void* proxy : {static_cast<void*>(compositor_), static_cast<void*>(shm_),
                        static_cast<void*>(subcompositor_), static_cast<void*>(layerShell_),
                        static_cast<void*>(windowManagement_), static_cast<void*>(screencast_),
                        static_cast<void*>(registry_)})
        retire(proxy);
    for (wl_proxy* proxy : retired_)
        wl_proxy_destroy(proxy);
    wl_display_disconnect(display_);
}

void WaylandConnection::retire(void* proxy) {
    if (proxy != nullptr) retired_.push_back(static_cast<wl_proxy*>(proxy));
}

int WaylandConnection::fd() const {
    return wl_display_get_fd(display_);
}

bool WaylandConnection::flush() {
    return wl_display_flush(display_) >= 0 || errno == EAGAIN;
}

bool WaylandConnection::dispatch() {
    if (wl_display_prepare_read(display_) == 0) {
        flush();
        if (wl_display_read_events(display_) < 0) return false;
    }
    return wl_display_dispatch_pending(display_) >= 0 && flush();
}

bool WaylandConnection::roundtrip() {
    return wl_display_roundtrip(display_) >= 0;
}

bool WaylandConnection::broken() const {
    return wl_display_get_error(display_) != 0;
}

std::string WaylandConnection::missing() const {
    std::string text;
    const auto add = [&text](bool there, const char* what) {
        if (there) return;
        if (!text.empty()) text += ", ";
        text += what;
    };
    add(windowManagement_ != nullptr, "the window list (org_kde_plasma_window_management)");
    add(screencast_ != nullptr, "the window capture (zkde_screencast_unstable_v1)");
    add(layerShell_ != nullptr, "the layer shell (zwlr_layer_shell_v1)");
    return text;
}

void WaylandConnection::global(void* data, wl_registry*, uint32_t name, const char* interface,
                               uint32_t version) {
    static_cast<WaylandConnection*>(data)->bind(name, interface, version);
}

void WaylandConnection::globalRemove(void* data, wl_registry*, uint32_t name) {
    static_cast<WaylandConnection*>(data)->forget(name);
}

void WaylandConnection::bind(uint32_t name, const std::string& interface, uint32_t version) {
    kwin_ = kwin_ || interface == kwinMark;
    if (interface == wl_compositor_interface.name && compositor_ == nullptr) {
        compositor_ = bindAs<wl_compositor>(registry_, name, &wl_compositor_interface, version, 4);
    } else if (interface == wl_shm_interface.name && shm_ == nullptr) {
        shm_ = bindAs<wl_shm>(registry_, name, &wl_shm_interface, version, 1);
    } else if (interface == wl_subcompositor_interface.name && subcompositor_ == nullptr) {
        subcompositor_ =
            bindAs<wl_subcompositor>(registry_, name, &wl_subcompositor_interface, version, 1);
    } else if (interface == wl_output_interface.name) {
        outputs_->add(name, bindAs<wl_output>(registry_, name, &wl_output_interface, version, 2));
    } else if (interface == zxdg_output_manager_v1_interface.name) {
        outputs_->useXdgOutput(bindAs<zxdg_output_manager_v1>(
            registry_, name, &zxdg_output_manager_v1_interface, version, 2));
    } else if (interface == zwlr_layer_shell_v1_interface.name && layerShell_ == nullptr) {
        layerShell_ = bindAs<zwlr_layer_shell_v1>(registry_, name, &zwlr_layer_shell_v1_interface,
                                                  version, 1);
    } else if (interface == org_kde_plasma_window_management_interface.name &&
               windowManagement_ == nullptr) {
        windowManagementVersion_ = std::min<uint32_t>(version, 16);
        windowManagement_ = bindAs<org_kde_plasma_window_management>(
            registry_, name, &org_kde_plasma_window_management_interface, version, 16);
        if (bound_) bound_();
    } else if (interface == zkde_screencast_unstable_v1_interface.name && screencast_ == nullptr) {
        screencast_ = bindAs<zkde_screencast_unstable_v1>(
            registry_, name, &zkde_screencast_unstable_v1_interface, version, 1);
    } else {
        return;
    }
    globals_.push_back({name, interface});
}

// A withdrawn global's proxy stays valid until destroyed; the services stop using it.
void WaylandConnection::forget(uint32_t name) {
    const auto found = std::find_if(globals_.begin(), globals_.end(),
                                    [name](const Global& g) { return g.name == name; });
    if (found == globals_.end()) return;
    const std::string interface = found->interface;
    globals_.erase(found);
    if (interface == wl_output_interface.name) {
        outputs_->remove(name);
    } else if (interface == zwlr_layer_shell_v1_interface.name) {
        retire(std::exchange(layerShell_, nullptr));
    } else if (interface == zkde_screencast_unstable_v1_interface.name) {
        retire(std::exchange(screencast_, nullptr));
    } else if (interface == org_kde_plasma_window_management_interface.name) {
        retire(std::exchange(windowManagement_, nullptr));
    }
    for (const GlobalRemoved& listener : std::vector(removed_))
        listener(interface);
}

}  // namespace desktop
