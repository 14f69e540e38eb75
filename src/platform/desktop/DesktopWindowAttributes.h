#pragma once

#include <cstdint>
#include <memory>

#include "platform/View.h"
#include "platform/Window.h"

namespace desktop {

// What a window of this program keeps as plain values: the attributes the logic sets and
// reads back, whichever way the window is drawn.
class DesktopWindowAttributes : public platform::Window {
public:
    DesktopWindowAttributes(const platform::Rect& contentRect, uint64_t styleMask)
        : frame_(contentRect), styleMask_(styleMask) {}

    platform::Rect frame() const override { return frame_; }
    uint64_t styleMask() const override { return styleMask_; }
    int level() const override { return level_; }
    void setLevel(int level) override { level_ = level; }
    platform::Color backgroundColor() const override { return background_; }
    void setBackgroundColor(const platform::Color& color) override { background_ = color; }
    bool hasShadow() const override { return hasShadow_; }
    void setHasShadow(bool flag) override { hasShadow_ = flag; }
    bool isOpaque() const override { return opaque_; }
    void setOpaque(bool flag) override { opaque_ = flag; }
    bool isReleasedWhenClosed() const override { return releasedWhenClosed_; }
    void setReleasedWhenClosed(bool flag) override { releasedWhenClosed_ = flag; }
    uint64_t collectionBehavior() const override { return collectionBehavior_; }
    void setCollectionBehavior(uint64_t behavior) override { collectionBehavior_ = behavior; }
    bool ignoresMouseEvents() const override { return ignoresMouse_; }
    void setIgnoresMouseEvents(bool flag) override { ignoresMouse_ = flag; }
    bool isMovableByWindowBackground() const override { return movable_; }
    void setMovableByWindowBackground(bool flag) override { movable_ = flag; }
    int titleVisibility() const override { return titleVisibility_; }
    void setTitleVisibility(int visibility) override { titleVisibility_ = visibility; }
    std::shared_ptr<platform::View> contentView() const override { return contentView_; }
    bool isVisible() const override { return visible_; }
    void close() override { orderOut(); }

protected:
    platform::Rect frame_;
    const uint64_t styleMask_;
    int level_ = 0;
    platform::Color background_ = platform::Color::white(1);
    bool hasShadow_ = true;
    bool opaque_ = true;
    bool releasedWhenClosed_ = true;
    uint64_t collectionBehavior_ = 0;
    bool ignoresMouse_ = false;
    bool movable_ = false;
    int titleVisibility_ = 0;
    bool visible_ = false;
    std::shared_ptr<platform::View> contentView_;
};

}  // namespace desktop
