#include "platform/desktop/x11/X11CaptureTarget.h"

#include <xcb/composite.h>
#include <xcb/damage.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11EventHub.h"
#include "platform/desktop/x11/X11Properties.h"

namespace desktop {
namespace {

constexpr uint32_t clientEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
constexpr uint32_t frameEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
constexpr uint32_t noEvents = 0;
constexpr int attachAttempts = 3;

bool succeeded(xcb_connection_t* c, xcb_void_cookie_t cookie) {
    xcb_generic_error_t* error = xcb_request_check(c, cookie);
    std::free(error);
    return error == nullptr;
}

// For clean-up requests whose failure (the window is gone already) does not matter.
void discard(xcb_connection_t* c, xcb_void_cookie_t cookie) {
    xcb_discard_reply(c, cookie.sequence);
}

// Size of the visible part of a side of the pixmap after the two margins.
uint16_t inner(uint16_t length, uint32_t before, uint32_t after) {
    const uint32_t start = std::min<uint32_t>(before, length);
    return static_cast<uint16_t>(length - start - std::min<uint32_t>(after, length - start));
}

}  // namespace

platform::PlatformError captureError(CaptureError code, std::string description) {
    return {static_cast<int64_t>(code), std::move(description)};
}

X11CaptureTarget::X11CaptureTarget(std::shared_ptr<X11Connection> connection, xcb_window_t client,
                                   std::function<void()> afterRead)
    : connection_(std::move(connection)), client_(client), afterRead_(std::move(afterRead)) {}

platform::PlatformError X11CaptureTarget::goneError() const {
    char text[64];
    std::snprintf(text, sizeof text, "capture: window 0x%x is gone", client_);
    return captureError(CaptureError::windowGone, text);
}

X11CaptureTarget::~X11CaptureTarget() {
    detachFrame();
    discard(connection_->get(), xcb_change_window_attributes_checked(connection_->get(), client_,
                                                                     XCB_CW_EVENT_MASK, &noEvents));
    connection_->flush();
}

std::optional<platform::PlatformError> X11CaptureTarget::start() {
    if (auto missing = checkExtensions())
        return captureError(CaptureError::unsupported, std::move(*missing));
    if (!watchClient()) return goneError();
    if (reattach() == Change::gone) return goneError();
    return std::nullopt;
}

std::optional<std::string> X11CaptureTarget::checkExtensions() {
    xcb_connection_t* c = connection_->get();
    const auto* composite = xcb_get_extension_data(c, &xcb_composite_id);
    const auto compositeVersion = composite && composite->present
                                      ? xreply(xcb_composite_query_version_reply(
                                            c, xcb_composite_query_version(c, 0, 4), nullptr))
                                      : xreply<xcb_composite_query_version_reply_t>(nullptr);
    if (!compositeVersion ||
        (compositeVersion->major_version == 0 && compositeVersion->minor_version < 2))
        return "capture: the X server lacks Composite 0.2";
    const auto* damage = xcb_get_extension_data(c, &xcb_damage_id);
    // The server knows no damage requests of a client until it asked for the version.
    const auto damageVersion =
        damage && damage->present
            ? xreply(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr))
            : xreply<xcb_damage_query_version_reply_t>(nullptr);
    if (!damageVersion) return "capture: the X server lacks Damage";
    damageEvent_ = damage->first_event;
    const auto* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    const auto xfixesVersion =
        xfixes && xfixes->present
            ? xreply(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 2, 0), nullptr))
            : xreply<xcb_xfixes_query_version_reply_t>(nullptr);
    if (!xfixesVersion || xfixesVersion->major_version < 2)
        return "capture: the X server lacks XFixes 2";
    return std::nullopt;
}

bool X11CaptureTarget::watchClient() {
    xcb_connection_t* c = connection_->get();
    return succeeded(
        c, xcb_change_window_attributes_checked(c, client_, XCB_CW_EVENT_MASK, &clientEvents));
}

bool X11CaptureTarget::attach() {
    X11Client client;
    client.client = client_;
    if (!readClientGeometry(*connection_, client)) return false;
    extents_ = client.extents;
    return attachFrame(client.frame);
}

// Events first, so that no map or unmap after the attributes were read goes unseen.
bool X11CaptureTarget::attachFrame(xcb_window_t frame) {
    xcb_connection_t* c = connection_->get();
    frame_ = frame;
    damage_ = xcb_generate_id(c);
    changed_ = xcb_generate_id(c);
    xcb_xfixes_create_region(c, changed_, 0, nullptr);
    const bool watched =
        frame == client_ || succeeded(c, xcb_change_window_attributes_checked(
                                             c, frame, XCB_CW_EVENT_MASK, &frameEvents));
    const auto redirect =
        xcb_composite_redirect_window_checked(c, frame, XCB_COMPOSITE_REDIRECT_AUTOMATIC);
    const auto create =
        xcb_damage_create_checked(c, damage_, frame, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    const auto attributesCookie = xcb_get_window_attributes(c, frame);
    const auto geometryCookie = xcb_get_geometry(c, frame);
    const bool redirected = succeeded(c, redirect);
    const bool created = succeeded(c, create);
    const auto attributes = xreply(xcb_get_window_attributes_reply(c, attributesCookie, nullptr));
    const auto geometry = xreply(xcb_get_geometry_reply(c, geometryCookie, nullptr));
    if (!watched || !redirected || !created || !attributes || !geometry) return false;
    depth_ = geometry->depth;
    border_ = geometry->border_width;
    visual_ = attributes->visual;
    viewable_ = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    needsName_ = true;
    seenDamage_ = false;
    if (viewable_) askForRepaint(geometry->width, geometry->height);
    connection_->flush();
    return true;
}

void X11CaptureTarget::detachFrame() {
    if (frame_ == 0) return;
    xcb_connection_t* c = connection_->get();
    discard(c, xcb_damage_destroy_checked(c, damage_));
    discard(c, xcb_xfixes_destroy_region_checked(c, changed_));
    discard(c,
            xcb_composite_unredirect_window_checked(c, frame_, XCB_COMPOSITE_REDIRECT_AUTOMATIC));
    if (frame_ != client_)
        discard(c, xcb_change_window_attributes_checked(c, frame_, XCB_CW_EVENT_MASK, &noEvents));
    frame_ = 0;
    damage_ = 0;
    changed_ = 0;
    viewable_ = false;
    lease_.reset();
}

// The client moved into another frame (a window manager took it, or gave it back to the
// root): follow it there.
X11CaptureTarget::Change X11CaptureTarget::reattach() {
    for (int attempt = 0; attempt < attachAttempts; ++attempt) {
        detachFrame();
        if (attach()) return Change::none;
    }
    detachFrame();
    return Change::gone;
}

void X11CaptureTarget::readExtents() {
    const auto extents = readCardinals(*connection_, client_,
                                       connection_->atom("_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
    extents_ = extents && extents->size() >= 4
                   ? FrameExtents{(*extents)[0], (*extents)[1], (*extents)[2], (*extents)[3]}
                   : FrameExtents{};
}

// A freshly redirected window's pixmap holds what the screen showed, which can be stale or
// covered; an expose makes the client paint it anew, and so brings the first damage.
void X11CaptureTarget::askForRepaint(uint16_t width, uint16_t height) {
    xcb_expose_event_t expose{};
    expose.response_type = XCB_EXPOSE;
    expose.window = client_;
    expose.width = width;
    expose.height = height;
    char event[32] = {};
    std::memcpy(event, &expose, sizeof expose);
    xcb_connection_t* c = connection_->get();
    discard(c, xcb_send_event_checked(c, 0, client_, XCB_EVENT_MASK_EXPOSURE, event));
}

X11CaptureTarget::Change X11CaptureTarget::handle(const xcb_generic_event_t& event) {
    const uint8_t type = eventType(event);
    if (damageEvent_ != 0 && type == damageEvent_ + XCB_DAMAGE_NOTIFY) {
        const auto& notify = reinterpret_cast<const xcb_damage_notify_event_t&>(event);
        if (notify.damage != damage_) return Change::none;  // of a frame we left
        seenDamage_ = true;
        if (viewable_) return Change::damaged;
        subtractDamage();  // else no damage would ever be reported again
        return Change::none;
    }
    switch (type) {
        case XCB_CONFIGURE_NOTIFY:
            return configured(reinterpret_cast<const xcb_configure_notify_event_t&>(event));
        case XCB_MAP_NOTIFY:
            if (reinterpret_cast<const xcb_map_notify_event_t&>(event).window != frame_) break;
            viewable_ = true;  // a new pixmap, painted by the client before it shows
            needsName_ = true;
            seenDamage_ = false;
            break;
        case XCB_UNMAP_NOTIFY:
            if (reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window == frame_)
                viewable_ = false;
            break;
        case XCB_DESTROY_NOTIFY: {
            const xcb_window_t window =
                reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window;
            if (window == client_) return Change::gone;
            if (window == frame_) return reattach();
            break;
        }
        case XCB_REPARENT_NOTIFY:
            if (reinterpret_cast<const xcb_reparent_notify_event_t&>(event).window == client_)
                return reattach();
            break;
        case XCB_PROPERTY_NOTIFY: {
            const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (property.window != client_ ||
                property.atom != connection_->atom("_GTK_FRAME_EXTENTS"))
                break;
            readExtents();
            wholeDamaged_ = true;  // the picture's origin in the pixmap moved
            return viewable_ && seenDamage_ ? Change::damaged : Change::none;
        }
        default:
            break;
    }
    return Change::none;
}

// A new size means a new pixmap; its first frame need not wait for the client to draw.
X11CaptureTarget::Change X11CaptureTarget::configured(const xcb_configure_notify_event_t& event) {
    if (event.window != frame_) return Change::none;
    const int width = event.width + 2 * event.border_width;
    const int height = event.height + 2 * event.border_width;
    if (width == pixmapWidth_ && height == pixmapHeight_) return Change::none;
    needsName_ = true;
    return viewable_ && seenDamage_ ? Change::damaged : Change::none;
}

std::shared_ptr<X11CaptureFrame> X11CaptureTarget::takeFrame() {
    if (frame_ == 0) return nullptr;
    if (!viewable_ || !seenDamage_) {
        subtractDamage();
        return nullptr;
    }
    if (needsName_ && !namePixmap()) {
        subtractDamage();
        return nullptr;
    }
    const uint16_t width = inner(pixmapWidth_, extents_.left, extents_.right);
    const uint16_t height = inner(pixmapHeight_, extents_.top, extents_.bottom);
    const auto x = static_cast<int16_t>(std::min<uint32_t>(extents_.left, pixmapWidth_));
    const auto y = static_cast<int16_t>(std::min<uint32_t>(extents_.top, pixmapHeight_));
    takeDamage({x, y, width, height});
    if (width == 0 || height == 0) return nullptr;
    return std::make_shared<X11CaptureFrame>(lease_, x, y, width, height, connection_, scratch_,
                                             changed_);
}

// The region of what was drawn, kept in the server: the exact area, not its bounds, and
// no reply to wait for. Damage lies inside the window's border, the pixmap starts outside it.
void X11CaptureTarget::takeDamage(const xcb_rectangle_t& whole) {
    xcb_connection_t* c = connection_->get();
    if (wholeDamaged_) {
        subtractDamage();
        xcb_xfixes_set_region(c, changed_, 1, &whole);
        wholeDamaged_ = false;
        return;
    }
    xcb_damage_subtract(c, damage_, XCB_NONE, changed_);
    if (border_ != 0) xcb_xfixes_translate_region(c, changed_, border_, border_);
}

// Reports come again only once the damage so far is subtracted.
void X11CaptureTarget::subtractDamage() {
    xcb_connection_t* c = connection_->get();
    discard(c, xcb_damage_subtract_checked(c, damage_, XCB_NONE, XCB_NONE));
}

// The pixmap covers the frame with its border; its size is read back, since the window may
// have changed again since the event that asked for it.
bool X11CaptureTarget::namePixmap() {
    xcb_connection_t* c = connection_->get();
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    const auto name = xcb_composite_name_window_pixmap_checked(c, frame_, pixmap);
    const auto geometryCookie = xcb_get_geometry(c, pixmap);
    const bool named = succeeded(c, name);
    const auto geometry = xreply(xcb_get_geometry_reply(c, geometryCookie, nullptr));
    if (!named || !geometry) {
        if (named) discard(c, xcb_free_pixmap_checked(c, pixmap));
        return false;  // unmapped meanwhile: its map brings a new name
    }
    depth_ = geometry->depth;
    pixmapWidth_ = geometry->width;
    pixmapHeight_ = geometry->height;
    lease_ = std::make_shared<X11PixmapLease>(connection_, pixmap, depth_, visual_, afterRead_);
    needsName_ = false;
    wholeDamaged_ = true;
    return true;
}

}  // namespace desktop
