#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wl_surface;
struct wl_buffer;
struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;
struct wl_seat;
struct wl_pointer;
struct wl_array;
struct org_kde_kwin_fake_input;

// One xdg-shell window filled with one colour, in shared-memory buffers: the Wayland test
// client's whole picture. The compositor places it; the window sets its own size. It prints
// "pressed X Y" when a button goes down on it and "activated" / "deactivated" as it gains and
// loses the compositor's focus; where KWin grants fake input it can click anywhere and type.
class ClientSurface {
public:
    struct Options {
        int width = 400;
        int height = 300;
        uint32_t color = 0x3366CC;  // RRGGBB
        std::string title = "Veltrin test client";
    };

    explicit ClientSurface(const Options& options);
    ~ClientSurface();
    ClientSurface(const ClientSurface&) = delete;
    ClientSurface& operator=(const ClientSurface&) = delete;

    // Connects and shows the window; false when the compositor lacks what it needs.
    bool show();
    int fd() const;
    // Reads and handles the compositor's events; false once the connection is gone.
    bool dispatch();
    bool closed() const { return closed_; }

    void resize(int width, int height);
    void setColor(uint32_t color);
    // A left click at a point of the screen; false without fake input.
    bool click(int x, int y);
    // Presses the keys (evdev codes) in order and lets them go in reverse, as a combination
    // is typed; false without fake input that carries keys.
    bool pressKeys(const std::vector<uint32_t>& keys);

private:
    static void global(void* data, wl_registry*, uint32_t name, const char* interface,
                       uint32_t version);
    static void configured(void* data, xdg_toplevel*, int32_t, int32_t, wl_array* states);
    void watchPointer();
    void paint();

    Options options_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    xdg_wm_base* shell_ = nullptr;
    wl_surface* surface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    wl_seat* seat_ = nullptr;
    wl_pointer* pointer_ = nullptr;
    org_kde_kwin_fake_input* fakeInput_ = nullptr;
    uint32_t fakeInputVersion_ = 0;
    double pointerX_ = 0;
    double pointerY_ = 0;
    bool active_ = false;
    bool configured_ = false;
    bool closed_ = false;
};
