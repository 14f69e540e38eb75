#include "pinning/FrontWindowLookup.h"

#include <memory>
#include <mutex>
#include <semaphore>
#include <string>

#include "app/Entry.h"
#include "app/Log.h"
#include "app/NumberText.h"
#include "platform/Platform.h"

namespace {

// The first of focused, main and first listed window that its own read yields.
std::optional<platform::AXElement> chooseWindow(platform::AXElements& ax,
                                                const platform::AXElement& app) {
    std::optional<platform::AXElement> focused;
    if (ax.copyElementAttribute(app, "AXFocusedWindow", focused) == platform::axSuccess && focused)
        return focused;
    std::optional<platform::AXElement> main;
    if (ax.copyElementAttribute(app, "AXMainWindow", main) == platform::axSuccess && main)
        return main;
    std::optional<std::vector<platform::AXElement>> windows;
    if (ax.copyElementListAttribute(app, "AXWindows", windows) == platform::axSuccess && windows &&
        !windows->empty())
        return windows->front();
    return std::nullopt;
}

platform::AXError windowNumber(const platform::AXElement& window, uint32_t& number) {
    const platform::WindowNumberFunction& function = axUIElementGetWindow();
    if (!function) return platform::axErrorFailure;  // the desktop has no such function
    return function(window, number);
}

// Shared with the completion handler, which may still run after the wait has ended.
struct WindowListAnswer {
    std::binary_semaphore answered{0};
    std::mutex mutex;
    std::optional<platform::SCShareableContent> content;
};

std::optional<platform::SCShareableContent> requestWindowList(std::chrono::milliseconds wait) {
    auto answer = std::make_shared<WindowListAnswer>();
    platform::shareableContent().request(
        false, false, [answer](auto content, std::optional<platform::PlatformError>) {
            {
                std::lock_guard lock(answer->mutex);
                answer->content = std::move(content);
            }
            answer->answered.release();
        });
    if (!answer->answered.try_acquire_for(wait)) {
        flog("  frontWindow: no window list after " +
             decimalText(std::chrono::duration<double>(wait).count()) + " s");
        return std::nullopt;
    }
    std::lock_guard lock(answer->mutex);
    return std::move(answer->content);
}

}  // namespace

std::optional<platform::SCWindow> frontWindowOf(int32_t pid,
                                                std::chrono::milliseconds windowListWait) {
    platform::AXElements& ax = platform::axElements();
    const platform::AXElement app = ax.applicationElement(pid);
    std::optional<platform::AXElement> probe;
    flog("frontWindow: AX copyFocused=" +
         std::to_string(ax.copyElementAttribute(app, "AXFocusedWindow", probe)));
    const std::optional<platform::AXElement> axWindow = chooseWindow(ax, app);
    if (!axWindow) {
        flog("  frontWindow: no axWin");
        return std::nullopt;
    }
    uint32_t number = 0;
    const platform::AXError result = windowNumber(*axWindow, number);
    flog("  frontWindow: _AX getWindow res=" + std::to_string(result) +
         " windowID=" + std::to_string(number));
    if (result != platform::axSuccess || number == 0) {
        flog("  frontWindow: no windowID");
        return std::nullopt;
    }
    const auto content = requestWindowList(windowListWait);
    if (!content) return std::nullopt;
    for (const auto& window : content->windows)
        if (window.windowID == number) return window;
    return std::nullopt;
}
