#include <algorithm>

#include "platform/AXElements.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandServices.h"

namespace desktop {
namespace {

// An application's windows are the listed windows of its pid, top first; its focused and
// main window is the active one when it is among them, else the topmost.
class WaylandAXElements : public platform::AXElements {
public:
    explicit WaylandAXElements(WaylandContext& context) : context_(context) {}

    platform::AXElement applicationElement(int32_t pid) override { return {pid, 0}; }

    platform::AXError copyElementAttribute(const platform::AXElement& element,
                                           std::string_view attribute,
                                           std::optional<platform::AXElement>& value) override {
        if (element.window != 0) return platform::axErrorAttributeUnsupported;
        if (attribute != "AXFocusedWindow" && attribute != "AXMainWindow")
            return platform::axErrorAttributeUnsupported;
        const std::vector<WaylandWindow> windows = windowsOf(element.pid);
        if (windows.empty()) return platform::axErrorNoValue;
        const auto active = std::find_if(windows.begin(), windows.end(),
                                         [](const WaylandWindow& w) { return w.active(); });
        value = platform::AXElement{element.pid,
                                    (active != windows.end() ? *active : windows.front()).id};
        return platform::axSuccess;
    }

    platform::AXError copyElementListAttribute(
        const platform::AXElement& element, std::string_view attribute,
        std::optional<std::vector<platform::AXElement>>& value) override {
        if (element.window != 0 || attribute != "AXWindows")
            return platform::axErrorAttributeUnsupported;
        std::vector<platform::AXElement> elements;
        for (const WaylandWindow& window : windowsOf(element.pid))
            elements.push_back({element.pid, window.id});
        value = std::move(elements);
        return platform::axSuccess;
    }

    platform::AXError setBooleanAttribute(const platform::AXElement& element,
                                          std::string_view attribute, bool value) override {
        if (element.window != 0 || attribute != "AXFrontmost")
            return platform::axErrorAttributeUnsupported;
        if (!value) return platform::axSuccess;  // nothing asks another program to step back
        const std::vector<WaylandWindow> windows = windowsOf(element.pid);
        if (windows.empty() || !context_.windows().activate(windows.front().id))
            return platform::axErrorInvalidUIElement;
        return platform::axSuccess;
    }

    // Activating a window is how the compositor raises it.
    platform::AXError performAction(const platform::AXElement& element,
                                    std::string_view action) override {
        if (element.window == 0 || action != "AXRaise") return platform::axErrorIllegalArgument;
        const auto window = context_.windows().window(static_cast<uint32_t>(element.window));
        if (!window || window->pid != element.pid || !context_.windows().activate(window->id))
            return platform::axErrorInvalidUIElement;
        return platform::axSuccess;
    }

private:
    std::vector<WaylandWindow> windowsOf(int32_t pid) const {
        std::vector<WaylandWindow> windows;
        if (pid <= 0) return windows;  // a window without a known owner belongs to no one
        for (WaylandWindow& window : context_.windows().windowsTopFirst())
            if (window.pid == pid) windows.push_back(std::move(window));
        return windows;
    }

    WaylandContext& context_;
};

}  // namespace

std::unique_ptr<platform::AXElements> makeWaylandAXElements(WaylandContext& context) {
    return std::make_unique<WaylandAXElements>(context);
}

}  // namespace desktop
