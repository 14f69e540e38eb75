#include <algorithm>

#include "platform/AXElements.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Requests.h"
#include "platform/desktop/x11/X11Services.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

// An application's windows are its managed clients, top first; its focused and main
// window is the active window when it is one of them, else the topmost.
class X11AXElements : public platform::AXElements {
public:
    explicit X11AXElements(X11Context& context) : context_(context) {}

    platform::AXElement applicationElement(int32_t pid) override { return {pid, 0}; }

    platform::AXError copyElementAttribute(const platform::AXElement& element,
                                           std::string_view attribute,
                                           std::optional<platform::AXElement>& value) override {
        if (element.window != 0) return platform::axErrorAttributeUnsupported;
        if (attribute != "AXFocusedWindow" && attribute != "AXMainWindow")
            return platform::axErrorAttributeUnsupported;
        const std::vector<X11Client> windows = clientsOf(element.pid);
        if (windows.empty()) return platform::axErrorNoValue;
        const xcb_window_t active = readActiveWindow(context_.main());
        const auto chosen =
            std::find_if(windows.begin(), windows.end(),
                         [active](const X11Client& c) { return c.client == active; });
        value = platform::AXElement{element.pid,
                                    (chosen != windows.end() ? *chosen : windows.front()).client};
        return platform::axSuccess;
    }

    platform::AXError copyElementListAttribute(
        const platform::AXElement& element, std::string_view attribute,
        std::optional<std::vector<platform::AXElement>>& value) override {
        if (element.window != 0 || attribute != "AXWindows")
            return platform::axErrorAttributeUnsupported;
        std::vector<platform::AXElement> elements;
        for (const X11Client& client : clientsOf(element.pid))
            elements.push_back({element.pid, client.client});
        value = std::move(elements);
        return platform::axSuccess;
    }

    platform::AXError setBooleanAttribute(const platform::AXElement& element,
                                          std::string_view attribute, bool value) override {
        if (element.window != 0 || attribute != "AXFrontmost")
            return platform::axErrorAttributeUnsupported;
        if (!value) return platform::axSuccess;  // nothing asks another program to step back
        const std::vector<X11Client> windows = clientsOf(element.pid);
        if (windows.empty()) return platform::axErrorInvalidUIElement;
        requestActivation(context_, windows.front().client);
        return platform::axSuccess;
    }

    platform::AXError performAction(const platform::AXElement& element,
                                    std::string_view action) override {
        if (element.window == 0 || action != "AXRaise") return platform::axErrorIllegalArgument;
        const auto client = context_.windows().client(static_cast<xcb_window_t>(element.window));
        if (!client || client->pid != element.pid) return platform::axErrorInvalidUIElement;
        requestActivation(context_, client->client);
        requestRaise(context_, client->client);
        return platform::axSuccess;
    }

private:
    std::vector<X11Client> clientsOf(int32_t pid) const {
        std::vector<X11Client> windows;
        if (pid == 0) return windows;  // a window without a known owner belongs to no one
        for (X11Client& client : context_.windows().clientsTopFirst())
            if (client.pid == pid) windows.push_back(std::move(client));
        return windows;
    }

    X11Context& context_;
};

}  // namespace

std::unique_ptr<platform::AXElements> makeAXElements(X11Context& context) {
    return std::make_unique<X11AXElements>(context);
}

}  // namespace desktop
