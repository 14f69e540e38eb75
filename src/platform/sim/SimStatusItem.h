#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/StatusBar.h"

namespace sim {

class SimStatusBarButton : public platform::StatusBarButton {
public:
    void setImage(std::shared_ptr<platform::Image> image) override { this->image = image; }
    void setImagePosition(int position) override { imagePosition = position; }
    void setToolTip(const std::string& text) override { toolTip = text; }
    void setTitle(const std::string& text) override { title = text; }

    std::shared_ptr<platform::Image> image;
    int imagePosition = 0;
    std::optional<std::string> toolTip;
    std::string title;
};

// A status item of one copy of the program, keeping what the copy set on it.
class SimStatusItem : public platform::StatusItem {
public:
    SimStatusItem(int32_t ownerPid, double length, bool withButton)
        : ownerPid(ownerPid), length(length) {
        if (withButton) button_.emplace();
    }

    platform::StatusBarButton* button() override { return simButton(); }
    void setMenu(std::shared_ptr<platform::Menu> menu) override { this->menu = menu; }

    SimStatusBarButton* simButton() { return button_ ? &*button_ : nullptr; }
    const int32_t ownerPid;
    const double length;
    std::shared_ptr<platform::Menu> menu;

private:
    std::optional<SimStatusBarButton> button_;
};

}  // namespace sim
