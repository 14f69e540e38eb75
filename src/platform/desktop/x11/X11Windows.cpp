#include "platform/desktop/DesktopWindow.h"
#include "platform/desktop/x11/DesktopWindowX11.h"
#include "platform/desktop/x11/X11PanelWindow.h"
#include "platform/desktop/x11/X11Services.h"

namespace desktop {
namespace {

class X11Windows : public platform::Windows {
public:
    X11Windows(X11Context& context, DesktopTransaction& transaction)
        : context_(context), transaction_(transaction), server_(context) {}

    // A managed window of the toolkit, which takes the keyboard focus and draws with QPainter.
    std::shared_ptr<platform::Window> makeWindow(const platform::Rect& contentRect,
                                                 uint64_t styleMask, int, bool) override {
        return std::make_shared<DesktopWindow>(server_, transaction_, contentRect, styleMask);
    }

    std::shared_ptr<platform::Window> makePanel(const platform::Rect& contentRect,
                                                uint64_t styleMask, int, bool) override {
        return make(contentRect, styleMask);
    }

private:
    std::shared_ptr<platform::Window> make(const platform::Rect& contentRect, uint64_t styleMask) {
        auto window =
            std::make_shared<X11PanelWindow>(context_, transaction_, contentRect, styleMask);
        window->create();
        return window;
    }

    X11Context& context_;
    DesktopTransaction& transaction_;
    DesktopWindowX11 server_;
};

}  // namespace

std::unique_ptr<platform::Windows> makeWindows(X11Context& context,
                                               DesktopTransaction& transaction) {
    return std::make_unique<X11Windows>(context, transaction);
}

}  // namespace desktop
