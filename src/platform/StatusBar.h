#pragma once

#include <memory>
#include <string>

#include "platform/Image.h"
#include "platform/Menu.h"

namespace platform {

// The clickable part of a status item.
class StatusBarButton {
public:
    static constexpr int imageOnly = 1;

    virtual ~StatusBarButton() = default;
    virtual void setImage(std::shared_ptr<Image> image) = 0;
    virtual void setImagePosition(int position) = 0;
    virtual void setToolTip(const std::string& toolTip) = 0;
    virtual void setTitle(const std::string& title) = 0;
};

// One item in the menu bar's status area, shown while it is referenced.
class StatusItem {
public:
    virtual ~StatusItem() = default;
    // Owned by the item; null when the desktop gives the item no button.
    virtual StatusBarButton* button() = 0;
    // Opened when the item is clicked.
    virtual void setMenu(std::shared_ptr<Menu> menu) = 0;
};

class StatusBar {
public:
    static constexpr double squareLength = -2;

    virtual ~StatusBar() = default;
    virtual std::shared_ptr<StatusItem> statusItem(double length) = 0;
};

}  // namespace platform
