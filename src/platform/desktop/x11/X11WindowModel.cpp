#include "platform/desktop/x11/X11WindowModel.h"

#include <xcb/randr.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/Platform.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Monitors.h"

namespace desktop {
namespace {

constexpr uint32_t rootEvents = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY |
                                XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
constexpr uint32_t clientEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;

}  // namespace

X11WindowModel::X11WindowModel(X11Context& context) : context_(context) {}

X11WindowModel::~X11WindowModel() {
    if (subscription_ != 0) context_.events().unsubscribe(subscription_);
}

void X11WindowModel::start() {
    X11Connection& x = context_.main();
    addEvents(x.root(), rootEvents);
    if (const auto* randr = xcb_get_extension_data(x.get(), &xcb_randr_id);
        randr && randr->present) {
        randrEventBase_ = randr->first_event;
        xcb_randr_select_input(x.get(), x.root(),
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    }
    subscription_ = context_.events().subscribe(
        [this](const xcb_generic_event_t& event) { return handle(event); });
    refreshOrigin();
    rescan();
    x.flush();
}

bool X11WindowModel::handle(const xcb_generic_event_t& event) {
    const uint8_t type = eventType(event);
    switch (type) {
        case XCB_CONFIGURE_NOTIFY:
            return configured(reinterpret_cast<const xcb_configure_notify_event_t&>(event));
        case XCB_MAP_NOTIFY:
            setMapped(reinterpret_cast<const xcb_map_notify_event_t&>(event).window, true);
            break;
        case XCB_UNMAP_NOTIFY:
            setMapped(reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window, false);
            break;
        case XCB_REPARENT_NOTIFY:
            reparented(reinterpret_cast<const xcb_reparent_notify_event_t&>(event).window);
            break;
        case XCB_DESTROY_NOTIFY:
            destroyed(reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window);
            break;
        case XCB_PROPERTY_NOTIFY:
            propertyChanged(reinterpret_cast<const xcb_property_notify_event_t&>(event));
            break;
        default:
            if (randrEventBase_ != 0 && (type == randrEventBase_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                                         type == randrEventBase_ + XCB_RANDR_NOTIFY))
                refreshOrigin();
            break;
    }
    return false;  // the toolkit may want these too
}

// Reading a known client again may find it changed before its own event came (its margins,
// say): its followers are told here, for that event will then change nothing.
void X11WindowModel::rescan() {
    X11Connection& x = context_.main();
    std::vector<X11Client> next;
    std::vector<std::pair<size_t, platform::Rect>> known;  // index in next, rectangle before
    for (xcb_window_t window : readClientList(x)) {
        X11Client client;
        std::optional<platform::Rect> before;
        if (const X11Client* found = findByClient(window)) {
            client = *found;
            before = found->visibleRect();
        } else {
            client.client = window;
            watchClient(window);
            readClientIdentity(x, client);
        }
        if (!readClientGeometry(x, client)) continue;
        if (before) known.emplace_back(next.size(), *before);
        next.push_back(std::move(client));
    }
    {
        std::lock_guard lock(mutex_);
        clients_ = next;
    }
    for (const auto& [index, before] : known)
        notifyIfMoved(next[index], before);
    notifyChange();
}

void X11WindowModel::refreshOrigin() {
    const platform::Point origin = globalOrigin(context_.main());
    {
        std::lock_guard lock(mutex_);
        origin_ = origin;
    }
    changes_.notify();
}

void X11WindowModel::watchClient(xcb_window_t window) {
    addEvents(window, clientEvents);
}

// The toolkit shares this connection, and a window's event mask belongs to the connection:
// the root keeps the structure events that announce a tray host, and our own settings
// window its key and expose events.
void X11WindowModel::addEvents(xcb_window_t window, uint32_t events) {
    xcb_connection_t* c = context_.main().get();
    const auto attributes =
        xreply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    if (!attributes) return;  // gone already
    const uint32_t mask = attributes->your_event_mask | events;
    if (mask == attributes->your_event_mask) return;
    const auto cookie = xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &mask);
    xcb_discard_reply(c, cookie.sequence);
}

// The toolkit takes a ConfigureNotify reported to the root for a change of the root itself
// and reads every monitor again, a dozen round trips; the root's children's, which only our
// event mask brings, stay ours, so that a moving window costs nobody a wait on the server.
bool X11WindowModel::configured(const xcb_configure_notify_event_t& event) {
    const xcb_window_t root = context_.main().root();
    const bool child = event.event == root && event.window != root;
    X11Client* client = findByFrame(event.window);
    if (client == nullptr) {
        // A window the manager leaves alone (a panel, a menu) moving changes nothing here.
        if (child && !event.override_redirect) notifyChange();
        return child;
    }
    const double border = event.border_width;
    const platform::Rect rect{double(event.x), double(event.y), event.width + 2 * border,
                              event.height + 2 * border};
    const bool moved = rect.x != client->frameRect.x || rect.y != client->frameRect.y;
    const bool resized =
        rect.width != client->frameRect.width || rect.height != client->frameRect.height;
    {
        std::lock_guard lock(mutex_);
        client->frameRect = rect;
    }
    if (moved || resized) notifyGeometry(*client, moved, resized);
    notifyChange();
    return child;
}

void X11WindowModel::setMapped(xcb_window_t frame, bool mapped) {
    if (X11Client* client = findByFrame(frame)) {
        std::lock_guard lock(mutex_);
        client->mapped = mapped;
    }
    notifyChange();
}

// A new window manager puts the client into a new frame.
void X11WindowModel::reparented(xcb_window_t window) {
    X11Client* client = findByClient(window);
    if (client == nullptr) return;
    const platform::Rect before = client->visibleRect();
    X11Client updated = *client;
    if (!readClientGeometry(context_.main(), updated)) return removeClient(window);
    {
        std::lock_guard lock(mutex_);
        *findByClient(window) = updated;
    }
    notifyIfMoved(updated, before);
    notifyChange();
}

void X11WindowModel::propertyChanged(const xcb_property_notify_event_t& event) {
    X11Connection& x = context_.main();
    if (event.window == x.root()) {
        if (event.atom == x.atom("_NET_CLIENT_LIST_STACKING") ||
            event.atom == x.atom("_NET_CLIENT_LIST"))
            rescan();
        return;
    }
    if (event.atom != x.atom("_GTK_FRAME_EXTENTS") || findByClient(event.window) == nullptr) return;
    // The frame is known from its events: only the margins are read (one round trip).
    const FrameExtents extents = readFrameExtents(x, event.window);
    X11Client* client = findByClient(event.window);
    if (client == nullptr || client->extents == extents) return;
    const platform::Rect before = client->visibleRect();
    {
        std::lock_guard lock(mutex_);
        client->extents = extents;
    }
    notifyIfMoved(*client, before);
}

// A destroyed frame leaves its client alive when the window manager goes or restarts: the
// client is back on the root, or in a new frame, and is read again.
void X11WindowModel::destroyed(xcb_window_t window) {
    if (findByClient(window) != nullptr) return removeClient(window);
    const X11Client* framed = findByFrame(window);
    if (framed != nullptr) reparented(framed->client);
}

void X11WindowModel::removeClient(xcb_window_t window) {
    size_t removed = 0;
    {
        std::lock_guard lock(mutex_);
        removed = std::erase_if(
            clients_, [window](const X11Client& client) { return client.client == window; });
    }
    if (removed > 0) notifyChange();
}

X11Client* X11WindowModel::findByFrame(xcb_window_t frame) {
    const auto found = std::find_if(clients_.begin(), clients_.end(),
                                    [frame](const X11Client& c) { return c.frame == frame; });
    return found == clients_.end() ? nullptr : &*found;
}

X11Client* X11WindowModel::findByClient(xcb_window_t window) {
    const auto found = std::find_if(clients_.begin(), clients_.end(),
                                    [window](const X11Client& c) { return c.client == window; });
    return found == clients_.end() ? nullptr : &*found;
}

std::vector<X11Client> X11WindowModel::clientsTopFirst() const {
    std::lock_guard lock(mutex_);
    return {clients_.rbegin(), clients_.rend()};
}

std::optional<X11Client> X11WindowModel::client(xcb_window_t window) const {
    std::lock_guard lock(mutex_);
    for (const X11Client& client : clients_)
        if (client.client == window) return client;
    return std::nullopt;
}

bool X11WindowModel::bounds(xcb_window_t window, platform::Rect& rect) const {
    std::lock_guard lock(mutex_);
    for (const X11Client& client : clients_) {
        if (client.client != window) continue;
        rect = client.visibleRect();
        rect.x -= origin_.x;
        rect.y -= origin_.y;
        return true;
    }
    return false;
}

platform::Point X11WindowModel::origin() const {
    std::lock_guard lock(mutex_);
    return origin_;
}

int X11WindowModel::addGeometryListener(GeometryListener listener) {
    listeners_.push_back({nextToken_, std::move(listener), nullptr});
    return nextToken_++;
}

int X11WindowModel::addChangeListener(ChangeListener listener) {
    listeners_.push_back({nextToken_, nullptr, std::move(listener)});
    return nextToken_++;
}

void X11WindowModel::removeListener(int token) {
    std::erase_if(listeners_, [token](const Listener& l) { return l.token == token; });
}

void X11WindowModel::notifyGeometry(const X11Client& client, bool moved, bool resized) {
    changes_.notify();
    const X11Client copy = client;  // a listener may change the model
    for (const Listener& listener : std::vector(listeners_))
        if (listener.geometry) listener.geometry(copy, moved, resized);
}

void X11WindowModel::notifyIfMoved(const X11Client& client, const platform::Rect& before) {
    const platform::Rect after = client.visibleRect();
    const bool moved = after.x != before.x || after.y != before.y;
    const bool resized = after.width != before.width || after.height != before.height;
    if (moved || resized) notifyGeometry(client, moved, resized);
}

// Change listeners may wait for the server (a panel restacks itself after a reply), and a
// busy server answers late: they run once per turn of the main loop, after the work that
// geometry listeners queued, so that a panel follows its window without waiting on them.
void X11WindowModel::notifyChange() {
    changes_.notify();
    if (changePending_) return;
    if (!platform::isInstalled()) return deliverChange();  // starting: no main queue yet
    changePending_ = true;
    platform::dispatch().mainAsync([this, alive = std::weak_ptr<int>(alive_)] {
        if (alive.expired()) return;
        changePending_ = false;
        deliverChange();
    });
}

void X11WindowModel::deliverChange() {
    for (const Listener& listener : std::vector(listeners_))
        if (listener.change) listener.change();
}

}  // namespace desktop
