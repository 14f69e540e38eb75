#include "platform/desktop/x11/X11EventTapList.h"
#include "platform/desktop/x11/X11Services.h"

namespace desktop {
namespace {

using Tap = X11EventTapList::Tap;

struct Source final : platform::EventTapSource {
    std::weak_ptr<Tap> tap;
};

// Mouse buttons watched system-wide; callbacks arrive on the main queue.
class X11EventTaps final : public platform::EventTaps {
public:
    X11EventTaps(X11Context& context, platform::Dispatch& dispatch)
        : list_(std::make_shared<X11EventTapList>(context, dispatch)) {}

    std::shared_ptr<platform::EventTapPort> create(int, int, int, uint64_t eventsOfInterest,
                                                   Callback callback, void* userInfo) override {
        if (callback == nullptr) return nullptr;
        return list_->add(eventsOfInterest, callback, userInfo);
    }

    void enable(platform::EventTapPort& port, bool enable) override {
        auto& tap = static_cast<Tap&>(port);
        if (tap.valid) tap.enabled = enable;
    }

    std::shared_ptr<platform::EventTapSource> createRunLoopSource(platform::EventTapPort& port,
                                                                  int) override {
        auto source = std::make_shared<Source>();
        source->tap = static_cast<Tap&>(port).weak_from_this();
        return source;
    }

    void addToMainRunLoop(const std::shared_ptr<platform::EventTapSource>& source) override {
        if (const auto tap = tapOf(source); tap && tap->valid) tap->onRunLoop = true;
    }

    void removeFromMainRunLoop(const std::shared_ptr<platform::EventTapSource>& source) override {
        if (const auto tap = tapOf(source)) tap->onRunLoop = false;
    }

    void invalidate(platform::EventTapPort& port) override { static_cast<Tap&>(port).end(); }

private:
    static std::shared_ptr<Tap> tapOf(const std::shared_ptr<platform::EventTapSource>& source) {
        const auto ours = std::static_pointer_cast<Source>(source);
        return ours ? ours->tap.lock() : nullptr;
    }

    std::shared_ptr<X11EventTapList> list_;
};

}  // namespace

std::unique_ptr<platform::EventTaps> makeEventTaps(X11Context& context,
                                                   platform::Dispatch& dispatch) {
    return std::make_unique<X11EventTaps>(context, dispatch);
}

}  // namespace desktop
