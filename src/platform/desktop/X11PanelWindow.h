#pragma once

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <atomic>
#include <memory>
#include <vector>

#include "platform/Window.h"
#include "platform/desktop/X11LayerPainter.h"

namespace desktop {

class X11Context;
class DesktopTransaction;

// A window of this program drawn from its content view's layer tree. As a floating panel
// it is override-redirect (a reparenting window manager's frame would swallow clicks),
// takes no input when it ignores the mouse, is on every desktop by nature, and is kept
// directly above the topmost managed window so that other programs' menus and tooltips
// still show above it. Without a compositing manager its outline is a shape mask, so
// rounded corners show what lies beneath instead of black.
class X11PanelWindow : public platform::Window,
                       public std::enable_shared_from_this<X11PanelWindow> {
public:
    X11PanelWindow(X11Context& context, DesktopTransaction& transaction,
                   const platform::Rect& contentRect, uint64_t styleMask);
    ~X11PanelWindow() override;
    // Creates the X window; called once by the maker, which holds the window shared.
    void create();

    xcb_window_t id() const { return window_; }
    bool usesAlpha() const { return argb_; }

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
    void setIgnoresMouseEvents(bool flag) override;
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
    bool isKeyWindow() const override { return false; }  // a panel never takes the keyboard

private:
    bool handle(const xcb_generic_event_t& event);
    void place();
    void reshape();
    std::vector<xcb_rectangle_t> visibleShape() const;
    void redraw();
    void redrawVideo();
    void watchFrames();
    void keepAboveManagedWindows();
    xcb_rectangle_t rootRect() const;

    X11Context& context_;
    DesktopTransaction& transaction_;
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

    xcb_window_t window_ = 0;
    xcb_render_picture_t picture_ = 0;
    bool argb_ = false;
    bool shapedWithPicture_ = false;
    uint16_t width_ = 0;
    uint16_t height_ = 0;
    std::unique_ptr<X11LayerPainter> painter_;
    int eventToken_ = 0;
    int modelToken_ = 0;
    // Set by a capture thread when a frame arrives, cleared by the redraw it asks for.
    std::shared_ptr<std::atomic<bool>> framePending_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace desktop
