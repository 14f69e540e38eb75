#include "desktop/XDriver.h"

#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <thread>

#include "testclient/Atom.h"

namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
Owned<Reply> own(Reply* reply) {
    return Owned<Reply>(reply, &std::free);
}

}  // namespace

XDriver::XDriver(const std::string& display) {
    int screenNumber = 0;
    connection_ = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        xcb_disconnect(connection_);
        throw std::runtime_error("XDriver: cannot open display " + display);
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    screen_ = screens.data;
    if (!hasExtension("XTEST")) {
        xcb_disconnect(connection_);
        throw std::runtime_error("XDriver: display " + display + " has no XTEST");
    }
    keySymbols_ = xcb_key_symbols_alloc(connection_);
}

XDriver::~XDriver() {
    xcb_key_symbols_free(keySymbols_);
    xcb_disconnect(connection_);
}

void XDriver::sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

xcb_atom_t XDriver::atom(const std::string& name) {
    return internAtom(connection_, name.c_str());
}

std::vector<uint32_t> XDriver::cardinals(xcb_window_t window, const std::string& property,
                                         xcb_atom_t type) {
    auto reply = own(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom(property), type, 0, 1024),
        nullptr));
    if (reply == nullptr || reply->format != 32) return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::optional<uint32_t> XDriver::cardinal(xcb_window_t window, const std::string& property,
                                          xcb_atom_t type) {
    const auto values = cardinals(window, property, type);
    if (values.empty()) return std::nullopt;
    return values[0];
}

xcb_window_t XDriver::selectionOwner(const std::string& selection) {
    auto reply = own(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, atom(selection)), nullptr));
    return reply != nullptr ? reply->owner : XCB_NONE;
}

void XDriver::setRootText(const std::string& property, const std::string& text) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, root(), atom(property), XCB_ATOM_STRING,
                        8, static_cast<uint32_t>(text.size()), text.data());
    sync();
}

void XDriver::sendRootMessage(xcb_window_t window, const std::string& type,
                              std::vector<uint32_t> data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(type);
    data.resize(5);
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(connection_, 0, root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    sync();
}

bool XDriver::hasExtension(const std::string& name) {
    auto reply = own(xcb_query_extension_reply(
        connection_,
        xcb_query_extension(connection_, static_cast<uint16_t>(name.size()), name.c_str()),
        nullptr));
    return reply != nullptr && reply->present != 0;
}

xcb_window_t XDriver::activeWindow() {
    return cardinal(root(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW).value_or(XCB_NONE);
}

std::optional<XDriver::Rect> XDriver::rect(xcb_window_t window) {
    auto geometry =
        own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    if (geometry == nullptr) return std::nullopt;
    auto origin = own(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root(), 0, 0), nullptr));
    if (origin == nullptr) return std::nullopt;
    const int border = geometry->border_width;
    return Rect{origin->dst_x - border, origin->dst_y - border, geometry->width + 2 * border,
                geometry->height + 2 * border};
}

xcb_window_t XDriver::topLevelOf(xcb_window_t window) {
    for (;;) {
        auto tree =
            own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
        if (tree == nullptr) return XCB_NONE;
        if (tree->parent == tree->root || tree->parent == XCB_NONE) return window;
        window = tree->parent;
    }
}

std::vector<xcb_window_t> XDriver::stackingOrder() {
    auto tree =
        own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root()), nullptr));
    if (tree == nullptr) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

int XDriver::stackIndex(xcb_window_t topLevel) {
    const auto order = stackingOrder();
    const auto found = std::find(order.begin(), order.end(), topLevel);
    return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

// Window managers park helper windows off screen (openbox's check window at -100, -100).
bool XDriver::onScreen(const Rect& area) const {
    return area.x + area.width > 0 && area.y + area.height > 0 && area.x < width() &&
           area.y < height();
}

std::vector<XDriver::TopLevel> XDriver::overrideRedirectWindows() {
    std::vector<TopLevel> result;
    for (const xcb_window_t window : stackingOrder()) {
        auto attributes = own(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr));
        if (attributes == nullptr || attributes->override_redirect == 0 ||
            attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const auto area = rect(window);
        if (area && onScreen(*area)) result.push_back({window, *area});
    }
    return result;
}

bool XDriver::waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
                        std::chrono::milliseconds interval) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
    return true;
}

std::ostream& operator<<(std::ostream& out, const XDriver::Rect& rect) {
    return out << rect.width << "x" << rect.height << "+" << rect.x << "+" << rect.y;
}
