#include "platform/desktop/PacedDisplayLink.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Monitors.h"
#include "platform/desktop/x11/X11Services.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

class X11DisplayLinks : public platform::DisplayLinks {
public:
    explicit X11DisplayLinks(X11Context& context) : context_(context) {}

    std::shared_ptr<platform::DisplayLink> createWithActiveDisplays() override {
        if (rate_ == 0) rate_ = readRefreshRate(context_.main());
        return std::make_shared<PacedDisplayLink>(rate_, context_.windows().changes());
    }

private:
    X11Context& context_;
    double rate_ = 0;  // main thread
};

}  // namespace

std::unique_ptr<platform::DisplayLinks> makeDisplayLinks(X11Context& context) {
    return std::make_unique<X11DisplayLinks>(context);
}

}  // namespace desktop
