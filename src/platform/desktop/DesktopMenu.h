#pragma once

#include <memory>
#include <string>

#include "platform/Menu.h"

class QMenu;

namespace desktop {

// The toolkit's menu for a logic menu: each time it is about to open, the logic's delegate
// fills the logic menu and the toolkit's menu is made anew from it, in order.
class DesktopMenu {
public:
    explicit DesktopMenu(std::shared_ptr<platform::Menu> menu);
    ~DesktopMenu();
    DesktopMenu(const DesktopMenu&) = delete;
    DesktopMenu& operator=(const DesktopMenu&) = delete;

    QMenu& menu() { return *menu_; }

private:
    void rebuild();
    void addItem(const platform::MenuItem& item);
    // One line per opening, read back from what the toolkit shows.
    std::string describe() const;

    std::shared_ptr<platform::Menu> model_;
    std::unique_ptr<QMenu> menu_;
};

}  // namespace desktop
