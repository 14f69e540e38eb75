#include "app/Log.h"
#include "platform/EventTaps.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

struct Port final : platform::EventTapPort {};
struct Source final : platform::EventTapSource {};

// No Wayland interface lets a program watch clicks meant for others. A tap is made and
// kept but never called: a click on a panel, which takes no input, goes to the window
// beneath, and when that is the pinned window the compositor activates and raises it.
class WaylandEventTaps final : public platform::EventTaps {
public:
    std::shared_ptr<platform::EventTapPort> create(int, int, int, uint64_t, Callback callback,
                                                   void*) override {
        if (callback == nullptr) return nullptr;
        if (!said_) {
            flog(
                "wayland: clicks on the desktop cannot be watched; the compositor raises the "
                "window under a click");
            said_ = true;
        }
        return std::make_shared<Port>();
    }
    void enable(platform::EventTapPort&, bool) override {}
    std::shared_ptr<platform::EventTapSource> createRunLoopSource(platform::EventTapPort&,
                                                                  int) override {
        return std::make_shared<Source>();
    }
    void addToMainRunLoop(const std::shared_ptr<platform::EventTapSource>&) override {}
    void removeFromMainRunLoop(const std::shared_ptr<platform::EventTapSource>&) override {}
    void invalidate(platform::EventTapPort&) override {}

private:
    bool said_ = false;
};

}  // namespace

std::unique_ptr<platform::EventTaps> makeWaylandEventTaps() {
    return std::make_unique<WaylandEventTaps>();
}

}  // namespace desktop
