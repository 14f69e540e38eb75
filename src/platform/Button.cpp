#include "platform/Button.h"

namespace platform {

std::shared_ptr<Button> Button::buttonWithTitle(const std::string& title, Action action) {
    auto button = std::make_shared<Button>();
    button->setTitle(title);
    button->setAction(std::move(action));
    return button;
}

void Button::performClick() {
    const auto protector = weak_from_this().lock();
    const Action action = action_;  // the action may replace itself
    if (action) action(*this);
}

}  // namespace platform
