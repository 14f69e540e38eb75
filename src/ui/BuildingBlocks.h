#pragma once

#include <memory>
#include <string>

#include "platform/Button.h"
#include "platform/Color.h"
#include "platform/TextField.h"
#include "platform/View.h"

// The settings window's look: labels in the application's font, flat rounded push
// buttons, and a short scale pop that acknowledges a choice. None of them sets a frame or
// adds the view to a parent.

std::shared_ptr<platform::TextField> glassLabel(const std::string& text, double size,
                                                const std::string& weight,
                                                const platform::Color& color);

// A flat rounded button; a red one is filled and has no border.
std::shared_ptr<platform::Button> pill(const std::string& title, platform::Button::Action action,
                                       bool red);

// The target is held weakly, as every control of the window holds its owner.
template <class Target, class Method>
std::shared_ptr<platform::Button> pill(const std::string& title,
                                       const std::weak_ptr<Target>& target, Method action,
                                       bool red) {
    auto button = pill(title, platform::Button::Action(), red);
    button->setTarget(target, action);
    return button;
}

// Replaces a bounce still running on the view; a view without a layer stays as it is.
void bounce(platform::View& view);
