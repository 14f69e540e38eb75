#include "platform/sim/SimWindows.h"

#include <algorithm>

namespace sim {

SimWindows::SimWindows(CurrentCopy currentCopy)
    : currentCopy_(std::move(currentCopy)), registry_(std::make_shared<Registry>()) {}

std::shared_ptr<platform::Window> SimWindows::makeWindow(const platform::Rect& contentRect,
                                                         uint64_t styleMask, int backing,
                                                         bool defer) {
    return make(contentRect, styleMask, backing, defer, false);
}

std::shared_ptr<platform::Window> SimWindows::makePanel(const platform::Rect& contentRect,
                                                        uint64_t styleMask, int backing,
                                                        bool defer) {
    return make(contentRect, styleMask, backing, defer, true);
}

std::shared_ptr<platform::Window> SimWindows::make(const platform::Rect& contentRect,
                                                   uint64_t styleMask, int backing, bool defer,
                                                   bool panel) {
    std::weak_ptr<Registry> registry = registry_;
    // Only one window is key at a time.
    auto onKey = [registry](SimProgramWindow& key) {
        const auto list = registry.lock();
        if (!list) return;
        for (const auto& entry : list->windows)
            if (auto other = entry.window.lock(); other && other.get() != &key) other->resignKey();
    };
    auto window = std::make_shared<SimProgramWindow>(contentRect, styleMask, backing, defer, panel,
                                                     std::move(onKey));
    std::erase_if(registry_->windows, [](const Entry& entry) { return entry.window.expired(); });
    registry_->windows.push_back({window, currentCopy_()});
    return window;
}

std::vector<std::shared_ptr<SimProgramWindow>> SimWindows::all() const {
    std::vector<std::shared_ptr<SimProgramWindow>> alive;
    for (const auto& entry : registry_->windows)
        if (auto window = entry.window.lock()) alive.push_back(window);
    return alive;
}

std::shared_ptr<SimProgramWindow> SimWindows::keyWindow() const {
    for (const auto& window : all())
        if (window->isKeyWindow()) return window;
    return nullptr;
}

void SimWindows::releaseCopy(int32_t pid) {
    std::vector<std::shared_ptr<SimProgramWindow>> gone;
    std::erase_if(registry_->windows, [&](const Entry& entry) {
        if (entry.pid != pid) return false;
        if (auto window = entry.window.lock()) gone.push_back(window);
        return true;
    });
    for (const auto& window : gone)
        window->orderOut();
}

}  // namespace sim
