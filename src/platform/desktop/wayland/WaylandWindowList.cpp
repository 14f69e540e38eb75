#include "platform/WindowList.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

// Answers from the window model, which follows every window's geometry events, so a query
// costs one lock and no round trip; safe from the display-link threads.
class WaylandWindowList : public platform::WindowList {
public:
    explicit WaylandWindowList(WaylandContext& context) : context_(context) {}

    bool copyWindowInfo(uint32_t option, uint32_t windowID,
                        std::vector<platform::WindowInfo>& list) override {
        list.clear();
        if (option != optionIncludingWindow) return false;
        platform::Rect rect;
        if (!context_.windows().bounds(windowID, rect)) return true;  // gone: an empty list
        list.push_back({windowID, platform::WindowBounds{rect.x, rect.y, rect.width, rect.height}});
        return true;
    }

private:
    WaylandContext& context_;
};

}  // namespace

std::unique_ptr<platform::WindowList> makeWaylandWindowList(WaylandContext& context) {
    return std::make_unique<WaylandWindowList>(context);
}

}  // namespace desktop
