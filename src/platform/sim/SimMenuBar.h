#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Menu.h"
#include "platform/sim/SimStatusItem.h"

namespace sim {

class SimDesktop;

// The status area of the menu bar, and the user opening and choosing from its menus.
class SimMenuBar {
public:
    explicit SimMenuBar(SimDesktop& desktop) : desktop_(desktop) {}

    // When false, new status items come without a button.
    bool itemsHaveButtons = true;

    std::shared_ptr<SimStatusItem> addItem(int32_t ownerPid, double length);
    // A copy ended: its status items leave the menu bar.
    void releaseCopy(int32_t pid);
    // The copy's first status item that is still referenced.
    std::shared_ptr<SimStatusItem> itemOf(int32_t pid) const;

    // Clicks the copy's status item: its delegate fills the menu on the copy's main queue.
    // Null when the item has no menu.
    std::shared_ptr<platform::Menu> openMenu(int32_t pid);
    // Chooses an item of the menu opened last; false when it is disabled or out of range.
    bool choose(int32_t pid, size_t index);
    // The first item with that title; false when there is none or it is disabled.
    bool choose(int32_t pid, const std::string& title);

    // One line per item: "TITLE" enabled|disabled key=⌘K|- image=NAME|-, or "---".
    static std::vector<std::string> describe(const platform::Menu& menu);

private:
    SimDesktop& desktop_;
    std::vector<std::weak_ptr<SimStatusItem>> items_;
};

}  // namespace sim
