#include "ui/BuildingBlocks.h"

#include "app/Outfit.h"
#include "platform/KeyframeAnimation.h"

std::shared_ptr<platform::TextField> glassLabel(const std::string& text, double size,
                                                const std::string& weight,
                                                const platform::Color& color) {
    auto label = platform::TextField::labelWithString(text);
    label->setFont(outfit(weight, size));
    label->setTextColor(color);
    return label;
}

std::shared_ptr<platform::Button> pill(const std::string& title, platform::Button::Action action,
                                       bool red) {
    auto button = platform::Button::buttonWithTitle(title, std::move(action));
    button->setBordered(false);
    button->setWantsLayer(true);
    const auto layer = button->layer();
    layer->setCornerRadius(10);
    if (red) {
        layer->setBackgroundColor(platform::Color::calibrated(0.85, 0.32, 0.32, 0.9));
    } else {
        layer->setBackgroundColor(platform::Color::white(0.1));
        layer->setBorderWidth(1);
        layer->setBorderColor(platform::Color::white(0.12));
    }
    button->setFont(outfit("SemiBold", 13));
    button->setContentTintColor(platform::Color::white(1));
    return button;
}

void bounce(platform::View& view) {
    const auto layer = view.layer();
    if (!layer) return;
    platform::KeyframeAnimation animation;
    animation.keyPath = "transform.scale";
    animation.values = {1.0, 1.18, 0.93, 1.0};
    animation.keyTimes = {0, 0.4, 0.75, 1};
    animation.duration = 0.3;
    layer->addAnimation(animation, "bounce");
}
