#pragma once

#include <cstdint>
#include <memory>

#include "platform/Color.h"
#include "platform/Geometry.h"
#include "platform/View.h"

namespace platform {

// A window (or panel) of this program. Its content has no decorations around it, so
// the content view always fills the frame and follows its size. Main thread only.
class Window {
public:
    static constexpr uint64_t borderlessStyle = 0;
    static constexpr uint64_t nonactivatingPanelStyle = 128;
    static constexpr uint64_t fullSizeContentViewStyle = 32768;
    static constexpr int bufferedBacking = 2;
    static constexpr int floatingLevel = 3;
    static constexpr uint64_t canJoinAllSpaces = 1;
    static constexpr uint64_t stationary = 16;
    static constexpr uint64_t ignoresCycle = 64;
    static constexpr int titleHidden = 1;

    virtual ~Window() = default;

    // Screen coordinates: origin at the bottom left of the main display, y upwards.
    virtual Rect frame() const = 0;
    virtual void setFrame(const Rect& frame, bool display) = 0;
    virtual void setFrameOrigin(const Point& origin) = 0;

    virtual uint64_t styleMask() const = 0;
    virtual int level() const = 0;
    virtual void setLevel(int level) = 0;
    virtual Color backgroundColor() const = 0;
    virtual void setBackgroundColor(const Color& color) = 0;
    virtual bool hasShadow() const = 0;
    virtual void setHasShadow(bool flag) = 0;
    virtual bool isOpaque() const = 0;
    virtual void setOpaque(bool flag) = 0;
    virtual bool isReleasedWhenClosed() const = 0;
    virtual void setReleasedWhenClosed(bool flag) = 0;
    virtual uint64_t collectionBehavior() const = 0;
    virtual void setCollectionBehavior(uint64_t behavior) = 0;
    virtual bool ignoresMouseEvents() const = 0;
    virtual void setIgnoresMouseEvents(bool flag) = 0;
    virtual bool isMovableByWindowBackground() const = 0;
    virtual void setMovableByWindowBackground(bool flag) = 0;
    virtual int titleVisibility() const = 0;
    virtual void setTitleVisibility(int visibility) = 0;

    // The window holds its content view strongly; the view gets the window's size.
    virtual std::shared_ptr<View> contentView() const = 0;
    virtual void setContentView(const std::shared_ptr<View>& view) = 0;

    // Shows the window at its level and makes it the key window.
    virtual void makeKeyAndOrderFront() = 0;
    // Hides the window; it keeps its views and frame.
    virtual void orderOut() = 0;
    // Takes the window off screen; the object stays usable.
    virtual void close() = 0;
    virtual bool isVisible() const = 0;
    virtual bool isKeyWindow() const = 0;
};

}  // namespace platform
