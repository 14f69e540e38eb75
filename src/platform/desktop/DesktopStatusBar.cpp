#include "platform/desktop/DesktopStatusBar.h"

namespace desktop {
namespace {

class ButtonlessItem : public platform::StatusItem {
public:
    platform::StatusBarButton* button() override { return nullptr; }
    void setMenu(std::shared_ptr<platform::Menu> menu) override { menu_ = std::move(menu); }

private:
    std::shared_ptr<platform::Menu> menu_;
};

}  // namespace

std::shared_ptr<platform::StatusItem> DesktopStatusBar::statusItem(double) {
    return std::make_shared<ButtonlessItem>();
}

}  // namespace desktop
