#include "platform/desktop/x11/X11InputThread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace desktop {
namespace {

constexpr uint32_t rawButtons =
    XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;

bool hasXInput22(xcb_connection_t* c) {
    const auto cookie = xcb_input_xi_query_version(c, 2, 2);
    const auto reply = xreply(xcb_input_xi_query_version_reply(c, cookie, nullptr));
    return reply &&
           (reply->major_version > 2 || (reply->major_version == 2 && reply->minor_version >= 2));
}

// Raw events go to the root only, and only to clients that ask on the root.
bool selectRawButtons(X11Connection& connection) {
    struct {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, rawButtons};
    const auto cookie =
        xcb_input_xi_select_events_checked(connection.get(), connection.root(), 1, &mask.head);
    return !xreply(xcb_request_check(connection.get(), cookie)) && !connection.broken();
}

}  // namespace

std::unique_ptr<X11InputThread> X11InputThread::start(std::shared_ptr<X11Connection> connection,
                                                      Sink sink) {
    if (!connection || connection->broken()) return nullptr;
    xcb_connection_t* c = connection->get();
    const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(c, &xcb_input_id);
    if (xinput == nullptr || !xinput->present || !hasXInput22(c)) return nullptr;
    if (!selectRawButtons(*connection)) return nullptr;
    const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) return nullptr;
    return std::unique_ptr<X11InputThread>(
        new X11InputThread(std::move(connection), xinput->major_opcode, wake, std::move(sink)));
}

X11InputThread::X11InputThread(std::shared_ptr<X11Connection> connection, uint8_t opcode, int wake,
                               Sink sink)
    : connection_(std::move(connection)), opcode_(opcode), wake_(wake), sink_(std::move(sink)) {
    thread_ = std::thread([this] { run(); });
}

X11InputThread::~X11InputThread() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof one);
    thread_.join();
    ::close(wake_);
}

// Events already read into the queue (while waiting for a reply, say) never make the
// socket readable again, so the queue is drained before every wait.
void X11InputThread::run() {
    pollfd fds[2] = {{xcb_get_file_descriptor(connection_->get()), POLLIN, 0}, {wake_, POLLIN, 0}};
    while (drainEvents()) {
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) break;
        if (fds[1].revents != 0) break;
    }
    alive_.store(false);
}

// False when the connection broke.
bool X11InputThread::drainEvents() {
    xcb_connection_t* c = connection_->get();
    while (const auto event = xreply(xcb_poll_for_event(c))) {
        if (event->response_type != XCB_GE_GENERIC) continue;
        const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(*event);
        if (generic.extension != opcode_) continue;
        if (generic.event_type == XCB_INPUT_RAW_BUTTON_PRESS) rawButton(*event, true);
        if (generic.event_type == XCB_INPUT_RAW_BUTTON_RELEASE) rawButton(*event, false);
    }
    return !connection_->broken();
}

// Both questions go out before either answer is read.
void X11InputThread::rawButton(const xcb_generic_event_t& event, bool pressed) {
    const auto& raw = reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event);
    xcb_connection_t* c = connection_->get();
    const auto mapping = xcb_input_get_device_button_mapping(c, static_cast<uint8_t>(raw.sourceid));
    const auto pointerCookie = xcb_query_pointer(c, connection_->root());
    const uint32_t button = logicalButton(raw.detail, mapping);
    const auto pointer = xreply(xcb_query_pointer_reply(c, pointerCookie, nullptr));
    if (!pointer) return;  // the display went away
    sink_(button, pressed, {double(pointer->root_x), double(pointer->root_y)});
}

// Raw events report the physical button; a left-handed mapping makes button 3 the left.
uint32_t X11InputThread::logicalButton(uint32_t physical,
                                       xcb_input_get_device_button_mapping_cookie_t cookie) {
    xcb_connection_t* c = connection_->get();
    const auto reply = xreply(xcb_input_get_device_button_mapping_reply(c, cookie, nullptr));
    if (!reply || physical == 0 || physical > reply->map_size) return physical;
    return xcb_input_get_device_button_mapping_map(reply.get())[physical - 1];
}

}  // namespace desktop
