#include "platform/sim/SimMenuBar.h"

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimImage.h"

namespace sim {

std::shared_ptr<SimStatusItem> SimMenuBar::addItem(int32_t ownerPid, double length) {
    auto item = std::make_shared<SimStatusItem>(ownerPid, length, itemsHaveButtons);
    items_.push_back(item);
    return item;
}

void SimMenuBar::releaseCopy(int32_t pid) {
    std::erase_if(items_, [pid](const auto& weak) {
        const auto item = weak.lock();
        return !item || item->ownerPid == pid;
    });
}

std::shared_ptr<SimStatusItem> SimMenuBar::itemOf(int32_t pid) const {
    for (const auto& weak : items_)
        if (auto item = weak.lock(); item && item->ownerPid == pid) return item;
    return nullptr;
}

std::shared_ptr<platform::Menu> SimMenuBar::openMenu(int32_t pid) {
    auto item = itemOf(pid);
    if (!item || !item->menu) return nullptr;
    auto menu = item->menu;
    desktop_.postMainFor(pid, 0, [menu] {
        if (menu->delegate() != nullptr) menu->delegate()->menuNeedsUpdate(*menu);
    });
    desktop_.runUntilIdle();
    return menu;
}

bool SimMenuBar::choose(int32_t pid, size_t index) {
    auto item = itemOf(pid);
    if (!item || !item->menu || index >= item->menu->items().size()) return false;
    const auto entry = item->menu->items()[index];
    if (!item->menu->isEnabled(*entry) || !entry->action) return false;
    desktop_.postMainFor(pid, 0, [entry] { entry->action(); });
    desktop_.runUntilIdle();
    return true;
}

bool SimMenuBar::choose(int32_t pid, const std::string& title) {
    auto item = itemOf(pid);
    if (!item || !item->menu) return false;
    const auto& entries = item->menu->items();
    for (size_t index = 0; index < entries.size(); ++index)
        if (!entries[index]->separator && entries[index]->title == title) return choose(pid, index);
    return false;
}

std::vector<std::string> SimMenuBar::describe(const platform::Menu& menu) {
    std::vector<std::string> lines;
    for (const auto& item : menu.items()) {
        if (item->separator) {
            lines.push_back("---");
            continue;
        }
        std::string key = "-";
        if (!item->keyEquivalent.empty()) {
            key = (item->keyEquivalentModifierMask & platform::MenuItem::commandModifier)
                      ? "\u2318" + item->keyEquivalent
                      : item->keyEquivalent;
        }
        const auto image = std::dynamic_pointer_cast<SimImage>(item->image);
        lines.push_back("\"" + item->title + "\" " +
                        (menu.isEnabled(*item) ? "enabled" : "disabled") + " key=" + key +
                        " image=" + (image ? image->name() : "-"));
    }
    return lines;
}

}  // namespace sim
