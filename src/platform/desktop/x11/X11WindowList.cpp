#include "platform/WindowList.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Services.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

// Answers from the window model, which follows every frame from the server's events, so a
// query costs one lock and no round trip; safe from the display-link threads.
class X11WindowList : public platform::WindowList {
public:
    explicit X11WindowList(X11Context& context) : context_(context) {}

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
    X11Context& context_;
};

}  // namespace

std::unique_ptr<platform::WindowList> makeWindowList(X11Context& context) {
    return std::make_unique<X11WindowList>(context);
}

}  // namespace desktop
