#include "platform/desktop/X11Services.h"

namespace desktop {
namespace {

// Placeholder until raw input lands: no tap can be made.
class PendingEventTaps : public platform::EventTaps {
public:
    std::shared_ptr<platform::EventTapPort> create(int, int, int, uint64_t, Callback,
                                                   void*) override {
        return nullptr;
    }
    void enable(platform::EventTapPort&, bool) override {}
    std::shared_ptr<platform::EventTapSource> createRunLoopSource(platform::EventTapPort&,
                                                                  int) override {
        return nullptr;
    }
    void addToMainRunLoop(const std::shared_ptr<platform::EventTapSource>&) override {}
    void removeFromMainRunLoop(const std::shared_ptr<platform::EventTapSource>&) override {}
    void invalidate(platform::EventTapPort&) override {}
};

}  // namespace

std::unique_ptr<platform::EventTaps> makeEventTaps(X11Context&, platform::Dispatch&) {
    return std::make_unique<PendingEventTaps>();
}

}  // namespace desktop
