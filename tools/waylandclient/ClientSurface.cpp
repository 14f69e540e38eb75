#include "ClientSurface.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "fake-input-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

// A buffer of one colour; the memory goes with the pool, the buffer lives on.
wl_buffer* filledBuffer(wl_shm* shm, int width, int height, uint32_t color) {
    const int stride = width * 4;
    const size_t size = size_t(stride) * size_t(height);
    const int fd = memfd_create("veltrin-test-client", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, off_t(size)) != 0) return nullptr;
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    auto* pixels = static_cast<uint32_t*>(memory);
    for (size_t i = 0; i < size / 4; ++i)
        pixels[i] = 0xFF000000u | color;
    munmap(memory, size);
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(size));
    wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    static const wl_buffer_listener release{[](void*, wl_buffer* b) { wl_buffer_destroy(b); }};
    wl_buffer_add_listener(buffer, &release, nullptr);
    return buffer;
}

}  // namespace

ClientSurface::ClientSurface(const Options& options) : options_(options) {}

ClientSurface::~ClientSurface() {
    if (display_ != nullptr) wl_display_disconnect(display_);
}

int ClientSurface::fd() const {
    return wl_display_get_fd(display_);
}

void ClientSurface::global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                           uint32_t version) {
    auto& self = *static_cast<ClientSurface*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0)
        self.compositor_ = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 1));
    else if (std::strcmp(interface, wl_shm_interface.name) == 0)
        self.shm_ = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0)
        self.shell_ =
            static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
    else if (std::strcmp(interface, wl_seat_interface.name) == 0 && self.seat_ == nullptr)
        self.seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0) {
        self.fakeInputVersion_ = std::min(version, 4u);  // 4 adds keys
        self.fakeInput_ = static_cast<org_kde_kwin_fake_input*>(wl_registry_bind(
            registry, name, &org_kde_kwin_fake_input_interface, self.fakeInputVersion_));
    }
}

bool ClientSurface::show() {
    display_ = wl_display_connect(nullptr);
    if (display_ == nullptr) return false;
    registry_ = wl_display_get_registry(display_);
    static const wl_registry_listener registryListener{&ClientSurface::global,
                                                       [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(registry_, &registryListener, this);
    wl_display_roundtrip(display_);
    if (compositor_ == nullptr || shm_ == nullptr || shell_ == nullptr) return false;
    static const xdg_wm_base_listener ping{
        [](void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }};
    xdg_wm_base_add_listener(shell_, &ping, nullptr);
    surface_ = wl_compositor_create_surface(compositor_);
    xdgSurface_ = xdg_wm_base_get_xdg_surface(shell_, surface_);
    static const xdg_surface_listener surfaceListener{
        [](void* data, xdg_surface* surface, uint32_t serial) {
            auto& self = *static_cast<ClientSurface*>(data);
            xdg_surface_ack_configure(surface, serial);
            self.configured_ = true;
            self.paint();
        }};
    xdg_surface_add_listener(xdgSurface_, &surfaceListener, this);
    toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
    static const xdg_toplevel_listener toplevelListener{
        &ClientSurface::configured,
        [](void* data, xdg_toplevel*) { static_cast<ClientSurface*>(data)->closed_ = true; },
        [](void*, xdg_toplevel*, int32_t, int32_t) {}, [](void*, xdg_toplevel*, wl_array*) {}};
    xdg_toplevel_add_listener(toplevel_, &toplevelListener, this);
    xdg_toplevel_set_title(toplevel_, options_.title.c_str());
    xdg_toplevel_set_app_id(toplevel_, "org.veltrin.TestClient");
    watchPointer();
    if (fakeInput_ != nullptr)
        org_kde_kwin_fake_input_authenticate(fakeInput_, "Veltrin test client", "test clicks");
    wl_surface_commit(surface_);
    while (!configured_)
        if (wl_display_dispatch(display_) < 0) return false;
    return wl_display_roundtrip(display_) >= 0;
}

// The window keeps its own size; only the focus is told.
void ClientSurface::configured(void* data, xdg_toplevel*, int32_t, int32_t, wl_array* states) {
    auto& self = *static_cast<ClientSurface*>(data);
    bool active = false;
    const auto* state = static_cast<const uint32_t*>(states->data);
    for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i)
        active = active || state[i] == XDG_TOPLEVEL_STATE_ACTIVATED;
    if (active != self.active_) std::cout << (active ? "activated" : "deactivated") << std::endl;
    self.active_ = active;
}

void ClientSurface::watchPointer() {
    if (seat_ == nullptr) return;
    pointer_ = wl_seat_get_pointer(seat_);
    static const wl_pointer_listener listener{
        [](void* data, wl_pointer*, uint32_t, wl_surface*, wl_fixed_t x, wl_fixed_t y) {
            auto& self = *static_cast<ClientSurface*>(data);
            self.pointerX_ = wl_fixed_to_double(x);
            self.pointerY_ = wl_fixed_to_double(y);
        },
        [](void*, wl_pointer*, uint32_t, wl_surface*) {},
        [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
            auto& self = *static_cast<ClientSurface*>(data);
            self.pointerX_ = wl_fixed_to_double(x);
            self.pointerY_ = wl_fixed_to_double(y);
        },
        [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
            auto& self = *static_cast<ClientSurface*>(data);
            if (state == WL_POINTER_BUTTON_STATE_PRESSED)
                std::cout << "pressed " << int(self.pointerX_) << " " << int(self.pointerY_)
                          << std::endl;
        },
        [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
        [](void*, wl_pointer*) {},
        [](void*, wl_pointer*, uint32_t) {},
        [](void*, wl_pointer*, uint32_t, uint32_t) {},
        [](void*, wl_pointer*, uint32_t, int32_t) {},
        [](void*, wl_pointer*, uint32_t, int32_t) {},
    };
    wl_pointer_add_listener(pointer_, &listener, this);
}

bool ClientSurface::click(int x, int y) {
    constexpr uint32_t leftButton = 0x110;  // BTN_LEFT
    if (fakeInput_ == nullptr) return false;
    org_kde_kwin_fake_input_pointer_motion_absolute(fakeInput_, wl_fixed_from_int(x),
                                                    wl_fixed_from_int(y));
    org_kde_kwin_fake_input_button(fakeInput_, leftButton, WL_POINTER_BUTTON_STATE_PRESSED);
    org_kde_kwin_fake_input_button(fakeInput_, leftButton, WL_POINTER_BUTTON_STATE_RELEASED);
    return wl_display_roundtrip(display_) >= 0;
}

bool ClientSurface::pressKeys(const std::vector<uint32_t>& keys) {
    if (fakeInput_ == nullptr || fakeInputVersion_ < 4 || keys.empty()) return false;
    for (uint32_t key : keys)
        org_kde_kwin_fake_input_keyboard_key(fakeInput_, key, WL_KEYBOARD_KEY_STATE_PRESSED);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        org_kde_kwin_fake_input_keyboard_key(fakeInput_, *key, WL_KEYBOARD_KEY_STATE_RELEASED);
    return wl_display_roundtrip(display_) >= 0;
}

bool ClientSurface::dispatch() {
    if (wl_display_dispatch(display_) < 0) return false;
    return wl_display_flush(display_) >= 0 || errno == EAGAIN;
}

void ClientSurface::resize(int width, int height) {
    options_.width = width;
    options_.height = height;
    paint();
}

void ClientSurface::setColor(uint32_t color) {
    options_.color = color;
    paint();
}

void ClientSurface::paint() {
    if (!configured_) return;
    wl_buffer* buffer = filledBuffer(shm_, options_.width, options_.height, options_.color);
    if (buffer == nullptr) return;
    wl_surface_attach(surface_, buffer, 0, 0);
    wl_surface_damage(surface_, 0, 0, options_.width, options_.height);
    wl_surface_commit(surface_);
    wl_display_flush(display_);
}
