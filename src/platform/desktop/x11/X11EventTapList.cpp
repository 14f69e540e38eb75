#include "platform/desktop/x11/X11EventTapList.h"

#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {

using platform::EventTaps;

X11EventTapList::Tap::Tap(uint64_t mask, EventTaps::Callback callback, void* userInfo,
                          std::weak_ptr<X11EventTapList> list)
    : mask(mask), callback(callback), userInfo(userInfo), list(std::move(list)) {}

X11EventTapList::Tap::~Tap() {
    end();
}

bool X11EventTapList::Tap::listens(uint32_t type) const {
    return valid && enabled && onRunLoop && (mask & (uint64_t{1} << type)) != 0;
}

void X11EventTapList::Tap::end() {
    if (!valid) return;
    valid = false;
    enabled = false;
    onRunLoop = false;
    if (const auto owner = list.lock()) owner->release();
}

X11EventTapList::X11EventTapList(X11Context& context, platform::Dispatch& dispatch)
    : context_(context), dispatch_(dispatch) {}

std::shared_ptr<X11EventTapList::Tap> X11EventTapList::add(uint64_t mask,
                                                           EventTaps::Callback callback,
                                                           void* userInfo) {
    if (!ensureThread()) return nullptr;
    auto tap = std::make_shared<Tap>(mask, callback, userInfo, weak_from_this());
    std::erase_if(taps_, [](const auto& weak) { return weak.expired(); });
    taps_.push_back(tap);
    ++live_;
    return tap;
}

void X11EventTapList::release() {
    if (--live_ == 0) thread_.reset();
}

// A thread whose display went away is replaced, or the tap cannot be made.
bool X11EventTapList::ensureThread() {
    if (thread_ && thread_->alive()) return true;
    thread_.reset();
    const std::weak_ptr<X11EventTapList> self = weak_from_this();
    thread_ =
        X11InputThread::start(context_.openConnection(),
                              [self, this](uint32_t button, bool pressed, platform::Point root) {
                                  if (button == 1) post(self, pressed, root);
                              });
    return thread_ != nullptr;
}

// Input thread. The origin is read when the click happens, as monitors may change.
void X11EventTapList::post(const std::weak_ptr<X11EventTapList>& self, bool pressed,
                           platform::Point root) {
    const platform::Point origin = context_.windows().origin();
    const uint32_t type = pressed ? EventTaps::leftMouseDown : EventTaps::leftMouseUp;
    const platform::TapEvent event{type, {root.x - origin.x, root.y - origin.y}};
    dispatch_.mainAsync([self, event] {
        if (const auto list = self.lock()) list->deliver(event);
    });
}

// A callback may end any tap, so each is checked again just before its turn. The taps only
// watch: what a callback gives back changes nothing.
void X11EventTapList::deliver(const platform::TapEvent& event) {
    for (const auto& weak : std::vector(taps_)) {
        const auto tap = weak.lock();
        if (tap && tap->listens(event.type)) tap->callback(event.type, event, tap->userInfo);
    }
}

}  // namespace desktop
