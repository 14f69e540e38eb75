#pragma once

#include <cstdint>
#include <memory>

#include "platform/Button.h"
#include "platform/desktop/DesktopWindowAttributes.h"
#include "platform/desktop/DesktopWindowServer.h"
#include "platform/desktop/QtLayerAnimations.h"

class QPainter;

namespace desktop {

class DesktopTransaction;

// A managed, undecorated top-level window of the toolkit that draws its content view tree
// with QPainter: repainted when a layer changes or the user acts on it, at the display's
// refresh rate while a layer animates, and never while it is still. Buttons under a click
// perform it; dragging elsewhere moves the window when it is movable by its background.
// Key presses go to the local key monitors. Main thread only.
class DesktopWindow : public DesktopWindowAttributes,
                      public std::enable_shared_from_this<DesktopWindow> {
public:
    DesktopWindow(DesktopWindowServer& server, DesktopTransaction& transaction,
                  const platform::Rect& contentRect, uint64_t styleMask);
    ~DesktopWindow() override;

    void setFrame(const platform::Rect& frame, bool display) override;
    void setFrameOrigin(const platform::Point& origin) override;

    void setContentView(const std::shared_ptr<platform::View>& view) override;

    void makeKeyAndOrderFront() override;
    void orderOut() override;
    bool isKeyWindow() const override;

    // The toolkit's native window once shown (the X window on X11), and how many times it has been
    // drawn: for tests and measurements.
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
    void keyPressed(uint32_t keycode, uint32_t keysym, uint32_t state);
    void exposed();
    double now() const;

    DesktopTransaction& transaction_;
    DesktopWindowServer& server_;

    std::unique_ptr<Bridge> bridge_;  // the toolkit's window, its frame timer and drag
    QtLayerAnimations animations_;
    bool translucent_ = false;
    bool activationPending_ = false;
    std::weak_ptr<platform::Button> pressed_;
    uint64_t framesDrawn_ = 0;
};

}  // namespace desktop
