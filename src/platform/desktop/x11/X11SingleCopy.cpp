#include "platform/desktop/x11/X11SingleCopy.h"

#include <unistd.h>

#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Properties.h"

namespace desktop {
namespace {

xcb_atom_t selectionAtom(X11Connection& x) {
    return x.atom("_VELTRIN_RUNNING_S" + std::to_string(0));
}

xcb_window_t ownerOf(X11Connection& x) {
    const auto cookie = xcb_get_selection_owner(x.get(), selectionAtom(x));
    const auto reply = fetch(x.get(), cookie, xcb_get_selection_owner_reply);
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

}  // namespace

std::optional<int32_t> X11SingleCopy::otherCopy() const {
    X11Connection& x = context_.main();
    const xcb_window_t owner = ownerOf(x);
    if (owner != XCB_WINDOW_NONE && owner == window_) return std::nullopt;
    if (owner == XCB_WINDOW_NONE && claim()) return std::nullopt;
    const xcb_window_t winner = ownerOf(x);  // another copy, or whoever won a race with us
    const auto pid = readCardinal(x, winner, x.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
    return pid ? static_cast<int32_t>(*pid) : -1;
}

// An unmapped window of ours that carries our pid owns the selection.
bool X11SingleCopy::claim() const {
    X11Connection& x = context_.main();
    if (window_ == 0) {
        window_ = xcb_generate_id(x.get());
        xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, window_, x.root(), -1, -1, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const uint32_t pid = static_cast<uint32_t>(::getpid());
        xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window_, x.atom("_NET_WM_PID"),
                            XCB_ATOM_CARDINAL, 32, 1, &pid);
    }
    xcb_set_selection_owner(x.get(), window_, selectionAtom(x), XCB_CURRENT_TIME);
    return ownerOf(x) == window_;
}

}  // namespace desktop
