#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/View.h"

namespace platform {

// A push button that calls its action with itself as the sender when clicked.
class Button : public View {
public:
    using Action = std::function<void(Button& sender)>;

    static std::shared_ptr<Button> buttonWithTitle(const std::string& title, Action action);
    using View::View;

    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }
    int64_t tag() const { return tag_; }
    void setTag(int64_t tag) { tag_ = tag; }
    bool isBordered() const { return bordered_; }
    void setBordered(bool flag) { bordered_ = flag; }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }
    std::optional<Color> contentTintColor() const { return contentTintColor_; }
    void setContentTintColor(std::optional<Color> color) { contentTintColor_ = color; }

    void setAction(Action action) { action_ = std::move(action); }
    bool hasAction() const { return static_cast<bool>(action_); }
    // Target and action: the target is held weakly, and a click after it is gone does nothing.
    template <class Target>
    void setTarget(const std::weak_ptr<Target>& target, void (Target::*action)(Button& sender)) {
        setAction([target, action](Button& sender) {
            if (auto strong = target.lock()) ((*strong).*action)(sender);
        });
    }
    template <class Target>
    void setTarget(const std::weak_ptr<Target>& target, void (Target::*action)()) {
        setAction([target, action](Button&) {
            if (auto strong = target.lock()) ((*strong).*action)();
        });
    }

    // Clicks the button as the user would; the button stays alive while its action runs.
    void performClick();

private:
    std::string title_;
    int64_t tag_ = 0;
    bool bordered_ = true;
    Font font_{"System", 13, FontWeight::regular, true};
    std::optional<Color> contentTintColor_;
    Action action_;
};

}  // namespace platform
