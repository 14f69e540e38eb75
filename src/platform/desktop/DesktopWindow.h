#pragma once

#include <cstdint>
#include <memory>

#include "platform/Button.h"
#include "platform/Window.h"
#include "platform/desktop/DesktopWindowX11.h"
#include "platform/desktop/QtLayerAnimations.h"

class QPainter;

namespace desktop {

class DesktopTransaction;

// A managed, undecorated top-level window of the toolkit that draws its content view tree
// with QPainter: repainted when a layer changes or the user acts on it, at the display's
// refresh rate while a layer animates, and never while it is still. Buttons under a click
// perform it; dragging elsewhere moves the window when it is movable by its background.
// Key presses go to the local key monitors. Main thread only.
class DesktopWindow : public platform::Window, public std::enable_shared_from_this<DesktopWindow> {
public:
    DesktopWindow(X11Context& context, DesktopTransaction& transaction,
                  const platform::Rect& contentRect, uint64_t styleMask);
    ~DesktopWindow() override;

    platform::Rect frame() const override { return frame_; }
    void setFrame(const platform::Rect& frame, bool display) override;
    void setFrameOrigin(const platform::Point& origin) override;

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
    void setContentView(const std::shared_ptr<platform::View>& view) override;

    void makeKeyAndOrderFront() override;
    void orderOut() override;
    void close() override { orderOut(); }
    bool isVisible() const override { return visible_; }
    bool isKeyWindow() const override;

    // The X window once shown, and how many times it has been drawn: for tests and
    // measurements.
    uint32_t windowId() const;
    uint64_t framesDrawn() const { return framesDrawn_; }

private:
    class Bridge;

    void redraw();
    void prepareSurface();
    void place();
    void reshape();
    void followMove();
    void paint(QPainter& painter);
    void pressed(double x, double y);
    void released(double x, double y);
    void keyPressed(uint32_t keycode, uint32_t state);
    void exposed();
    double now() const;

    DesktopTransaction& transaction_;
    DesktopWindowX11 x11_;
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

    std::unique_ptr<Bridge> bridge_;  // the toolkit's window, its frame timer and drag
    QtLayerAnimations animations_;
    bool translucent_ = false;
    bool activationPending_ = false;
    std::weak_ptr<platform::Button> pressed_;
    uint64_t framesDrawn_ = 0;
};

}  // namespace desktop
