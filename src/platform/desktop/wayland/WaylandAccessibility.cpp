#include "platform/AXElements.h"
#include "platform/Accessibility.h"
#include "platform/desktop/wayland/KWinTrust.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

// KWin offers its window list only to a program it trusts through its desktop entry: the
// list's global being there is the permission.
class WaylandAccessibility : public platform::Accessibility {
public:
    explicit WaylandAccessibility(WaylandContext& context) : context_(context) {}

    bool isProcessTrusted() const override {
        return context_.connection().windowManagement() != nullptr;
    }
    // Nobody can be asked: the answer is the same.
    bool isProcessTrustedWithPrompt() override { return isProcessTrusted(); }
    std::optional<platform::PermissionRemedy> remedy() const override {
        return trustRemedy(context_.connection());
    }

    // A window element carries the compositor's number of the window.
    platform::WindowNumberFunction lookupWindowNumberFunction(std::string_view) override {
        return [](const platform::AXElement& element, uint32_t& number) {
            if (element.window == 0 || element.window > UINT32_MAX)
                return platform::axErrorIllegalArgument;
            number = static_cast<uint32_t>(element.window);
            return platform::axSuccess;
        };
    }

private:
    WaylandContext& context_;
};

}  // namespace

std::unique_ptr<platform::Accessibility> makeWaylandAccessibility(WaylandContext& context) {
    return std::make_unique<WaylandAccessibility>(context);
}

}  // namespace desktop
