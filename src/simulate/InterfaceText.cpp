#include "simulate/InterfaceText.h"

#include <cmath>

#include "app/NumberText.h"
#include "settings/ColorHex.h"

namespace {

std::string animationText(const std::string& key, const platform::KeyframeAnimation& animation) {
    std::string text = key + ":" + animation.keyPath + "(";
    for (size_t i = 0; i < animation.values.size(); ++i)
        text += (i ? " " : "") + decimalText(animation.values[i]);
    text += ")/" + decimalText(animation.duration) + " x";
    text += std::isinf(animation.repeatCount) ? "inf" : decimalText(animation.repeatCount);
    return text;
}

}  // namespace

std::string colorText(const platform::Color& color) {
    return "#" + hexString(color) + "/" + decimalText(color.alpha);
}

std::string layerText(const platform::Layer& layer) {
    std::string text = "frame=" + rectText(layer.frame());
    text += " radius=" + decimalText(layer.cornerRadius());
    text += " border=" + colorText(layer.borderColor());
    text += " width=" + decimalText(layer.borderWidth());
    text += " animations=[";
    const auto keys = layer.animationKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        if (const auto animation = layer.animation(keys[i]))
            text += (i ? " " : "") + animationText(keys[i], *animation);
    }
    return text + "]";
}

std::string windowText(const platform::Window& window) {
    return "frame=" + rectText(window.frame()) + " level=" + std::to_string(window.level()) +
           " visible=" + (window.isVisible() ? "true" : "false");
}
