#include "platform/sim/SimWindowList.h"

#include "platform/sim/SimDesktop.h"

namespace sim {
void SimWindowList::omitBoundsKey(uint32_t window, std::string_view key) {
    Omitted& omitted = omitted_[window];
    if (key == "X") omitted.x = true;
    if (key == "Y") omitted.y = true;
    if (key == "Width") omitted.width = true;
    if (key == "Height") omitted.height = true;
}

platform::WindowInfo SimWindowList::record(uint32_t number, const platform::Rect& frame) const {
    platform::WindowInfo info{number,
                              platform::WindowBounds{frame.x, frame.y, frame.width, frame.height}};
    const auto found = omitted_.find(number);
    if (found == omitted_.end()) return info;
    const Omitted& omitted = found->second;
    if (omitted.bounds) info.bounds.reset();
    if (!info.bounds) return info;
    if (omitted.x) info.bounds->x.reset();
    if (omitted.y) info.bounds->y.reset();
    if (omitted.width) info.bounds->width.reset();
    if (omitted.height) info.bounds->height.reset();
    return info;
}

bool SimWindowList::copyWindowInfo(uint32_t option, uint32_t windowID,
                                   std::vector<platform::WindowInfo>& list) {
    list.clear();
    if (!answers || option != optionIncludingWindow) return false;
    if (const SimWindow* window = desktop_.findWindow(windowID))
        list.push_back(record(window->number, window->frame));
    return true;
}

}  // namespace sim
