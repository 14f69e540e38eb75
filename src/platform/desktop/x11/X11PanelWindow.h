#pragma once

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <atomic>
#include <memory>
#include <vector>

#include "platform/desktop/DesktopWindowAttributes.h"
#include "platform/desktop/x11/X11LayerPainter.h"

namespace desktop {

class X11Context;
class DesktopTransaction;

// A window of this program drawn from its content view's layer tree. As a floating panel
// it is override-redirect (a reparenting window manager's frame would swallow clicks),
// takes no input when it ignores the mouse, is on every desktop by nature, and is kept
// directly above the topmost managed window so that other programs' menus and tooltips
// still show above it. Without a compositing manager its outline is a shape mask, so
// rounded corners show what lies beneath instead of black.
class X11PanelWindow : public DesktopWindowAttributes,
                       public std::enable_shared_from_this<X11PanelWindow> {
public:
    X11PanelWindow(X11Context& context, DesktopTransaction& transaction,
                   const platform::Rect& contentRect, uint64_t styleMask);
    ~X11PanelWindow() override;
    // Creates the X window; called once by the maker, which holds the window shared.
    void create();

    xcb_window_t id() const { return window_; }
    bool usesAlpha() const { return argb_; }

    void setFrame(const platform::Rect& frame, bool display) override;
    void setFrameOrigin(const platform::Point& origin) override;

    void setIgnoresMouseEvents(bool flag) override;

    void setContentView(const std::shared_ptr<platform::View>& view) override;

    void makeKeyAndOrderFront() override;
    void orderOut() override;
    bool isKeyWindow() const override { return false; }  // a panel never takes the keyboard

private:
    bool handle(const xcb_generic_event_t& event);
    void place();
    void reshape();
    std::vector<xcb_rectangle_t> visibleShape() const;
    void redraw();
    void redrawVideo();
    void watchFrames();
    void handOverFrames();
    void keepAboveManagedWindows();
    xcb_rectangle_t rootRect() const;

    X11Context& context_;
    DesktopTransaction& transaction_;

    xcb_window_t window_ = 0;
    xcb_render_picture_t picture_ = 0;
    xcb_visualid_t visual_ = 0;
    bool argb_ = false;
    bool shapedWithPicture_ = false;
    uint16_t width_ = 0;
    uint16_t height_ = 0;
    std::unique_ptr<X11LayerPainter> painter_;
    int eventToken_ = 0;
    int modelToken_ = 0;
    // Set by a capture thread when it asks for a redraw of its frame, cleared by that redraw.
    std::shared_ptr<std::atomic<bool>> framePending_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace desktop
