#pragma once

#include <memory>
#include <vector>

#include "platform/MenuItem.h"

namespace platform {

class Menu;

class MenuDelegate {
public:
    virtual ~MenuDelegate() = default;
    // Just before the menu opens, on the main thread.
    virtual void menuNeedsUpdate(Menu& menu) = 0;
};

// A menu's items in order. The desktop asks the delegate to fill it each time it opens
// and then shows what it holds.
class Menu {
public:
    // Unowned: the delegate outlives the menu.
    void setDelegate(MenuDelegate* delegate) { delegate_ = delegate; }
    MenuDelegate* delegate() const { return delegate_; }

    void removeAllItems() { items_.clear(); }
    void addItem(std::shared_ptr<MenuItem> item) { items_.push_back(std::move(item)); }
    const std::vector<std::shared_ptr<MenuItem>>& items() const { return items_; }

    bool autoenablesItems = true;
    // With automatic enabling, an item is enabled exactly when it has an action.
    bool isEnabled(const MenuItem& item) const {
        if (item.separator) return false;
        return autoenablesItems ? static_cast<bool>(item.action) : item.enabled;
    }

private:
    MenuDelegate* delegate_ = nullptr;
    std::vector<std::shared_ptr<MenuItem>> items_;
};

}  // namespace platform
