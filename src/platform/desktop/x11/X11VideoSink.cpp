#include "platform/desktop/x11/X11VideoSink.h"

#include <algorithm>

namespace desktop {
namespace {

bool same(const xcb_rectangle_t& a, const xcb_rectangle_t& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool same(const X11VideoSink::Layout& a, const X11VideoSink::Layout& b) {
    return a.window == b.window && a.visual == b.visual && same(a.rect, b.rect) &&
           std::equal(a.clip.begin(), a.clip.end(), b.clip.begin(), b.clip.end(),
                      [](const auto& x, const auto& y) { return same(x, y); });
}

}  // namespace

void X11VideoSink::arm(Layout layout) {
    std::lock_guard lock(mutex_);
    if (layout_ != nullptr && same(*layout_, layout)) return;
    layout_ = std::make_shared<const Layout>(std::move(layout));
}

void X11VideoSink::disarm() {
    std::lock_guard lock(mutex_);
    layout_ = nullptr;
}

std::shared_ptr<const X11VideoSink::Layout> X11VideoSink::layout() const {
    std::lock_guard lock(mutex_);
    return layout_;
}

}  // namespace desktop
