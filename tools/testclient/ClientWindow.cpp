#include "ClientWindow.h"

#include <poll.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "Atom.h"

namespace {

constexpr uint32_t transparent = 0x00000000;
constexpr uint32_t marginColor = 0xff00ff;  // shadow margins of an opaque window
constexpr int counterBits = 16;
constexpr int counterCell = 6;

std::string hostName() {
    char name[HOST_NAME_MAX + 1] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

}  // namespace

ClientWindow::ClientWindow(xcb_connection_t* connection, xcb_screen_t* screen,
                           const ClientOptions& options)
    : connection_(connection),
      screen_(screen),
      argb_(options.argb),
      overrideRedirect_(options.overrideRedirect),
      extents_(options.gtkExtents.value_or(options.ownMargin.value_or(ClientOptions::Extents{}))),
      width_(options.width),
      height_(options.height),
      color_(options.color) {
    create(options);
    setProperties(options);
}

// A 32-bit TrueColor visual for --argb, else the screen's own.
xcb_visualid_t ClientWindow::chooseVisual() {
    if (!argb_) return screen_->root_visual;
    auto depths = xcb_screen_allowed_depths_iterator(screen_);
    for (; depths.rem > 0; xcb_depth_next(&depths)) {
        if (depths.data->depth != 32) continue;
        auto visuals = xcb_depth_visuals_iterator(depths.data);
        for (; visuals.rem > 0; xcb_visualtype_next(&visuals))
            if (visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) return visuals.data->visual_id;
    }
    argb_ = false;
    return screen_->root_visual;
}

void ClientWindow::create(const ClientOptions& options) {
    const xcb_visualid_t visual = chooseVisual();
    const uint8_t depth = argb_ ? 32 : XCB_COPY_FROM_PARENT;
    xcb_colormap_t colormap = screen_->default_colormap;
    if (argb_) {
        colormap = xcb_generate_id(connection_);
        xcb_create_colormap(connection_, XCB_COLORMAP_ALLOC_NONE, colormap, screen_->root, visual);
    }
    window_ = xcb_generate_id(connection_);
    const uint32_t mask = XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT |
                          XCB_CW_EVENT_MASK | XCB_CW_COLORMAP;
    const uint32_t values[] = {
        pixel(color_), 0, options.overrideRedirect ? 1u : 0u,
        XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_BUTTON_PRESS,
        colormap};
    xcb_create_window(
        connection_, depth, window_, screen_->root, static_cast<int16_t>(options.x.value_or(0)),
        static_cast<int16_t>(options.y.value_or(0)), static_cast<uint16_t>(width_),
        static_cast<uint16_t>(height_), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual, mask, values);
    gc_ = xcb_generate_id(connection_);
    const uint32_t noExposures = 0;  // scrolling copies need none
    xcb_create_gc(connection_, gc_, window_, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
}

void ClientWindow::setProperties(const ClientOptions& options) {
    const xcb_atom_t utf8 = internAtom(connection_, "UTF8_STRING");
    setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, options.title);
    setText(internAtom(connection_, "_NET_WM_NAME"), utf8, options.title);
    // WM_CLASS holds instance and class, each ending in a zero byte.
    const std::string wmClass = options.wmClass + '\0' + options.wmClass + '\0';
    setText(XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, wmClass);
    if (options.setPid) {
        const auto pid = static_cast<uint32_t>(getpid());
        setCardinals(internAtom(connection_, "_NET_WM_PID"), XCB_ATOM_CARDINAL, &pid, 1);
        setText(XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, hostName());
    }
    deleteWindow_ = internAtom(connection_, "WM_DELETE_WINDOW");
    setCardinals(internAtom(connection_, "WM_PROTOCOLS"), XCB_ATOM_ATOM, &deleteWindow_, 1);
    if (options.gtkExtents) {
        const uint32_t extents[] = {
            static_cast<uint32_t>(extents_.left), static_cast<uint32_t>(extents_.right),
            static_cast<uint32_t>(extents_.top), static_cast<uint32_t>(extents_.bottom)};
        setCardinals(internAtom(connection_, "_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, extents, 4);
    }
    if (options.ownMargin) {
        const xcb_atom_t motif = internAtom(connection_, "_MOTIF_WM_HINTS");
        const uint32_t noDecorations[] = {2, 0, 0, 0, 0};  // flags: decorations; none
        setCardinals(motif, motif, noDecorations, 5);
    }
    setSizeHints(options);
    if (options.noInput) {
        constexpr uint32_t inputHint = 1;
        const uint32_t hints[9] = {inputHint, 0};  // flags, input: false
        setCardinals(XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, hints, 9);
    }
}

// A requested position must win over the window manager's placement.
void ClientWindow::setSizeHints(const ClientOptions& options) {
    constexpr uint32_t userPosition = 1, userSize = 2, winGravity = 512;
    constexpr uint32_t northWest = 1;
    uint32_t hints[18] = {};
    hints[0] = userSize | winGravity | (options.x ? userPosition : 0);
    hints[1] = static_cast<uint32_t>(options.x.value_or(0));
    hints[2] = static_cast<uint32_t>(options.y.value_or(0));
    hints[3] = static_cast<uint32_t>(width_);
    hints[4] = static_cast<uint32_t>(height_);
    hints[17] = northWest;
    setCardinals(XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, hints, 18);
}

void ClientWindow::setText(xcb_atom_t property, xcb_atom_t type, const std::string& text) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, property, type, 8,
                        static_cast<uint32_t>(text.size()), text.data());
}

void ClientWindow::setCardinals(xcb_atom_t property, xcb_atom_t type, const uint32_t* values,
                                uint32_t count) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, property, type, 32, count,
                        values);
}

uint32_t ClientWindow::pixel(uint32_t rgb) const {
    return argb_ ? 0xff000000u | rgb : rgb;
}

// A window manager in the middle of starting, or of unmanaging a window that had the same id,
// can drop a map request: ask again until the window shows.
bool ClientWindow::showAndWait() {
    constexpr int retryMs = 500, attempts = 20;
    bool mapped = false, exposed = false;
    for (int attempt = 0; attempt < attempts && !(mapped && exposed); ++attempt) {
        if (!mapped) xcb_map_window(connection_, window_);
        xcb_flush(connection_);
        pollfd ready{xcb_get_file_descriptor(connection_), POLLIN, 0};
        while (!(mapped && exposed) && poll(&ready, 1, retryMs) > 0) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const uint8_t type = event->response_type & 0x7f;
                mapped = mapped || type == XCB_MAP_NOTIFY;
                exposed = exposed || type == XCB_EXPOSE;
                const bool alive = handle(*event);
                std::free(event);
                if (!alive) return false;
            }
        }
        if (xcb_connection_has_error(connection_) != 0) return false;
    }
    if (!(mapped && exposed)) return false;
    paint(color_);
    return true;
}

void ClientWindow::paint(uint32_t color) {
    color_ = color;
    ++frames_;
    const int innerWidth = width_ - extents_.left - extents_.right;
    const int innerHeight = height_ - extents_.top - extents_.bottom;
    if (extents_.left + extents_.right + extents_.top + extents_.bottom > 0)
        fill(argb_ ? transparent : marginColor, 0, 0, width_, height_);
    fill(pixel(color), extents_.left, extents_.top, innerWidth, innerHeight);
    paintCounter(extents_.left + 4, extents_.top + 4);
    xcb_flush(connection_);
}

void ClientWindow::patch(int x, int y, int width, int height, uint32_t color) {
    fill(pixel(color), x, y, width, height);
    xcb_flush(connection_);
}

void ClientWindow::fill(uint32_t pixel, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    xcb_change_gc(connection_, gc_, XCB_GC_FOREGROUND, &pixel);
    const xcb_rectangle_t area{static_cast<int16_t>(x), static_cast<int16_t>(y),
                               static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
    xcb_poly_fill_rectangle(connection_, window_, gc_, 1, &area);
}

void ClientWindow::paintCounter(int x, int y) {
    for (int bit = 0; bit < counterBits; ++bit) {
        const bool set = (frames_ >> (counterBits - 1 - bit) & 1) != 0;
        fill(pixel(set ? 0xffffff : 0x000000), x + bit * counterCell, y, counterCell, counterCell);
    }
}

bool ClientWindow::handle(const xcb_generic_event_t& event) {
    switch (event.response_type & 0x7f) {
        case XCB_EXPOSE:
            if (reinterpret_cast<const xcb_expose_event_t&>(event).count == 0) paint(color_);
            return true;
        case XCB_CONFIGURE_NOTIFY: {
            const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
            if (configure.window != window_) return true;
            const bool resized = configure.width != width_ || configure.height != height_;
            width_ = configure.width;
            height_ = configure.height;
            if (resized) paint(color_);
            return true;
        }
        case XCB_BUTTON_PRESS: {  // tells a test that a click reached this window
            const auto& press = reinterpret_cast<const xcb_button_press_event_t&>(event);
            std::printf("pressed %d %d %d\n", press.detail, press.event_x, press.event_y);
            std::fflush(stdout);
            return true;
        }
        case XCB_DESTROY_NOTIFY:
            return reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window != window_;
        case XCB_CLIENT_MESSAGE: {
            const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
            if (message.format != 32 || message.data.data32[0] != deleteWindow_) return true;
            destroy();
            return false;
        }
        default:
            return true;
    }
}
