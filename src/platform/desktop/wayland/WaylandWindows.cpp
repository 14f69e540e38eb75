#include "platform/Windows.h"
#include "platform/desktop/DesktopWindow.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandPanelWindow.h"
#include "platform/desktop/wayland/WaylandServices.h"
#include "platform/desktop/wayland/WaylandWindowServer.h"

namespace desktop {
namespace {

class WaylandWindows : public platform::Windows {
public:
    WaylandWindows(WaylandContext& context, DesktopTransaction& transaction)
        : context_(context), transaction_(transaction), server_(context) {}

    // A toplevel of the toolkit, placed where the compositor puts it.
    std::shared_ptr<platform::Window> makeWindow(const platform::Rect& contentRect,
                                                 uint64_t styleMask, int, bool) override {
        return std::make_shared<DesktopWindow>(server_, transaction_, contentRect, styleMask);
    }

    std::shared_ptr<platform::Window> makePanel(const platform::Rect& contentRect,
                                                uint64_t styleMask, int, bool) override {
        return std::make_shared<WaylandPanelWindow>(context_, transaction_, contentRect, styleMask);
    }

private:
    WaylandContext& context_;
    DesktopTransaction& transaction_;
    WaylandWindowServer server_;
};

}  // namespace

std::unique_ptr<platform::Windows> makeWaylandWindows(WaylandContext& context,
                                                      DesktopTransaction& transaction) {
    return std::make_unique<WaylandWindows>(context, transaction);
}

}  // namespace desktop
