#include "desktop/CaptureTestWindow.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/desktop/x11/X11Connection.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t iconicState = 3;

}  // namespace

CaptureTestWindow::CaptureTestWindow(const std::string& display, Options options)
    : connection_(desktop::X11Connection::open(display)), options_(options) {
    xcb_connection_t* c = connection_->get();
    window_ = xcb_generate_id(c);
    // No background: only what the test paints ever shows.
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, options.borderColour, options.overrideRedirect,
                               XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(
        c, XCB_COPY_FROM_PARENT, window_, connection_->root(), 40, 60, options.width,
        options.height, options.border, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
        XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK,
        values);
    const uint32_t motifHints[] = {2, 0, 0, 0, 0};  // decorations: none
    const xcb_atom_t motif = connection_->atom("_MOTIF_WM_HINTS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, motif, motif, 32, 5, motifHints);
    const desktop::FrameExtents& e = options.extents;
    if (e != desktop::FrameExtents{}) {
        const uint32_t extents[] = {e.left, e.right, e.top, e.bottom};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_,
                            connection_->atom("_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 32, 4,
                            extents);
    }
    gc_ = xcb_generate_id(c);
    xcb_create_gc(c, gc_, window_, 0, nullptr);
    sync();
}

CaptureTestWindow::~CaptureTestWindow() {
    destroy();
}

bool CaptureTestWindow::show() {
    xcb_map_window(connection_->get(), window_);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        int width = 0, height = 0;
        bool viewable = false;
        const bool framed =
            options_.overrideRedirect || desktop::topLevelOf(*connection_, window_) != window_;
        if (framed && frameGeometry(width, height, viewable) && viewable) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

void CaptureTestWindow::fill(uint32_t colour, int16_t x, int16_t y, uint16_t width,
                             uint16_t height) {
    xcb_connection_t* c = connection_->get();
    xcb_change_gc(c, gc_, XCB_GC_FOREGROUND, &colour);
    const xcb_rectangle_t rectangle{x, y, width, height};
    xcb_poly_fill_rectangle(c, window_, gc_, 1, &rectangle);
}

void CaptureTestWindow::paint(uint32_t colour, uint32_t marginColour) {
    colour_ = colour;
    marginColour_ = marginColour;
    auto geometry = desktop::xreply(xcb_get_geometry_reply(
        connection_->get(), xcb_get_geometry(connection_->get(), window_), nullptr));
    if (!geometry) return;
    const desktop::FrameExtents& e = options_.extents;
    fill(marginColour, 0, 0, geometry->width, geometry->height);
    fill(colour, int16_t(e.left), int16_t(e.top), uint16_t(geometry->width - e.left - e.right),
         uint16_t(geometry->height - e.top - e.bottom));
    sync();
}

void CaptureTestWindow::paintCornerFirst(uint32_t colour) {
    colour_ = colour;
    auto geometry = desktop::xreply(xcb_get_geometry_reply(
        connection_->get(), xcb_get_geometry(connection_->get(), window_), nullptr));
    if (!geometry) return;
    fill(colour, 0, 0, 8, 8);
    fill(colour, 0, 0, geometry->width, geometry->height);
    sync();
}

bool CaptureTestWindow::repaintIfExposed() {
    bool exposed = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_->get())) {
        exposed = exposed || (event->response_type & 0x7f) == XCB_EXPOSE;
        std::free(event);
    }
    if (exposed) paint(colour_, marginColour_);
    return exposed;
}

void CaptureTestWindow::resize(uint16_t width, uint16_t height) {
    const uint32_t values[] = {width, height};
    xcb_configure_window(connection_->get(), window_,
                         XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    sync();
}

void CaptureTestWindow::sendToRoot(xcb_atom_t type, uint32_t d0, uint32_t d1) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window_;
    message.type = type;
    message.data.data32[0] = d0;
    message.data.data32[1] = d1;
    xcb_send_event(connection_->get(), 0, connection_->root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    sync();
}

void CaptureTestWindow::iconify() {
    sendToRoot(connection_->atom("WM_CHANGE_STATE"), iconicState, 0);
}

void CaptureTestWindow::activate() {
    sendToRoot(connection_->atom("_NET_ACTIVE_WINDOW"), 2, XCB_CURRENT_TIME);
}

// Waits until the window manager let go of it: a window made later with the same id
// (the server hands a closed connection's ids out again) must not meet its old frame.
void CaptureTestWindow::destroy() {
    if (window_ == 0) return;
    const xcb_window_t window = window_;
    xcb_destroy_window(connection_->get(), window);
    window_ = 0;
    waitUntilUnmanaged(window);
}

void CaptureTestWindow::withdraw() {
    xcb_unmap_window(connection_->get(), window_);
    waitUntilUnmanaged(window_);
}

void CaptureTestWindow::waitUntilUnmanaged(xcb_window_t window) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto clients = desktop::readClientList(*connection_);
        if (std::find(clients.begin(), clients.end(), window) == clients.end()) return;
        std::this_thread::sleep_for(10ms);
    }
}

void CaptureTestWindow::sync() {
    xcb_connection_t* c = connection_->get();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

bool CaptureTestWindow::frameGeometry(int& width, int& height, bool& viewable) {
    xcb_connection_t* c = connection_->get();
    const xcb_window_t frame = desktop::topLevelOf(*connection_, window_);
    if (frame == 0) return false;
    const auto geometry =
        desktop::xreply(xcb_get_geometry_reply(c, xcb_get_geometry(c, frame), nullptr));
    const auto attributes = desktop::xreply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, frame), nullptr));
    if (!geometry || !attributes) return false;
    width = geometry->width + 2 * geometry->border_width;
    height = geometry->height + 2 * geometry->border_width;
    viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    return true;
}
