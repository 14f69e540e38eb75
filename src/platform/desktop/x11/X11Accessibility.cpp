#include <xcb/xcb.h>

#include "platform/AXElements.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Properties.h"
#include "platform/desktop/x11/X11Services.h"

namespace desktop {
namespace {

// Windows of other programs can be found, watched and raised once an EWMH window manager
// runs: it announces itself through a check window that names itself.
class X11Accessibility : public platform::Accessibility {
public:
    explicit X11Accessibility(X11Context& context) : context_(context) {}

    bool isProcessTrusted() const override {
        X11Connection& x = context_.main();
        const xcb_atom_t check = x.atom("_NET_SUPPORTING_WM_CHECK");
        const auto window = readCardinal(x, x.root(), check, XCB_ATOM_WINDOW);
        if (!window || *window == 0) return false;
        return readCardinal(x, *window, check, XCB_ATOM_WINDOW) == window;
    }
    // The desktop has nobody to ask: the answer is the same.
    bool isProcessTrustedWithPrompt() override { return isProcessTrusted(); }
    std::optional<platform::PermissionRemedy> remedy() const override {
        return platform::PermissionRemedy::of(platform::PermissionRemedy::Kind::windowManager);
    }

    // A window element carries its client's X window id, which is its number.
    platform::WindowNumberFunction lookupWindowNumberFunction(std::string_view) override {
        return [](const platform::AXElement& element, uint32_t& number) {
            if (element.window == 0 || element.window > UINT32_MAX)
                return platform::axErrorIllegalArgument;
            number = static_cast<uint32_t>(element.window);
            return platform::axSuccess;
        };
    }

private:
    X11Context& context_;
};

}  // namespace

std::unique_ptr<platform::Accessibility> makeAccessibility(X11Context& context) {
    return std::make_unique<X11Accessibility>(context);
}

}  // namespace desktop
