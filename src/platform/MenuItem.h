#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Image.h"

namespace platform {

// One entry of a menu, as the logic builds it; the desktop shows it when the menu opens.
struct MenuItem {
    using Action = std::function<void()>;
    static constexpr uint64_t commandModifier = 0x100000;

    std::string title;
    // Empty: no action, so a menu that enables its items itself shows the item disabled.
    Action action;
    // Who handles the action (unowned, compared only); null sends it to the application.
    const void* target = nullptr;
    std::string keyEquivalent;
    uint64_t keyEquivalentModifierMask = commandModifier;
    std::shared_ptr<Image> image;
    bool enabled = true;  // read only when the menu does not enable items itself
    bool separator = false;

    static std::shared_ptr<MenuItem> make(std::string title, Action action,
                                          std::string keyEquivalent) {
        auto item = std::make_shared<MenuItem>();
        item->title = std::move(title);
        item->action = std::move(action);
        item->keyEquivalent = std::move(keyEquivalent);
        return item;
    }
    static std::shared_ptr<MenuItem> separatorItem() {
        auto item = std::make_shared<MenuItem>();
        item->separator = true;
        return item;
    }
};

}  // namespace platform
