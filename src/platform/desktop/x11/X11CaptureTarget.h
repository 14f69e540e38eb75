#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/ShareableContent.h"
#include "platform/desktop/x11/X11CaptureFrame.h"
#include "platform/desktop/x11/X11Client.h"

namespace desktop {

class X11Connection;

// The codes of the errors that a capture reports.
enum class CaptureError : int64_t {
    unsupported = 1,
    windowGone = 2,
    connectionLost = 3,
    misuse = 4
};
platform::PlatformError captureError(CaptureError code, std::string description);

// The X side of one window's capture, used by one thread on its own connection: the
// window manager's frame around the client redirected, its damage watched, its pixmap
// named. Follows the client into a new frame, pauses while unmapped, and notices when
// the client is destroyed. A request that fails because the window vanished comes back as
// an error event, which is ignored: the structure events tell what happened.
class X11CaptureTarget {
public:
    enum class Change { none, damaged, gone };

    // afterRead is told whenever someone read replies of the connection, and so may have
    // queued its events where a wait on the socket cannot see them.
    X11CaptureTarget(std::shared_ptr<X11Connection> connection, xcb_window_t client,
                     std::function<void()> afterRead);
    // Unredirects and lets go of everything the server keeps for us.
    ~X11CaptureTarget();
    X11CaptureTarget(const X11CaptureTarget&) = delete;
    X11CaptureTarget& operator=(const X11CaptureTarget&) = delete;

    // Checks the extensions and starts watching; the reason when it cannot.
    std::optional<platform::PlatformError> start();
    platform::PlatformError goneError() const;
    // One event of the connection.
    Change handle(const xcb_generic_event_t& event);
    // Subtracts the damage and gives the frame to show now: the pixmap (named anew when
    // the window was mapped or resized) cropped to what the user sees. Null while the
    // window is unmapped or has nothing to show.
    std::shared_ptr<X11CaptureFrame> takeFrame();

private:
    std::optional<std::string> checkExtensions();
    bool watchClient();
    bool attach();
    bool attachFrame(xcb_window_t frame);
    void detachFrame();
    Change reattach();
    void readExtents();
    void askForRepaint(uint16_t width, uint16_t height);
    Change configured(const xcb_configure_notify_event_t& event);
    bool namePixmap();
    void subtractDamage();
    // Subtracts the damage into changed_, in the pixmap's pixels; `whole` there instead
    // when the pixmap is new.
    void takeDamage(const xcb_rectangle_t& whole);

    std::shared_ptr<X11Connection> connection_;
    xcb_window_t client_;
    std::function<void()> afterRead_;
    xcb_window_t frame_ = 0;
    uint8_t damageEvent_ = 0;
    uint32_t damage_ = 0;
    uint32_t changed_ = 0;      // the region of what was drawn up to the last subtract
    bool wholeDamaged_ = true;  // the next frame shows a pixmap that nothing was drawn from
    uint16_t border_ = 0;
    uint8_t depth_ = 0;
    xcb_visualid_t visual_ = 0;
    bool viewable_ = false;
    bool needsName_ = true;
    // The client drew since its pixmap was made: before that it may show stale pixels.
    bool seenDamage_ = false;
    FrameExtents extents_;
    std::shared_ptr<const X11PixmapLease> lease_;
    const std::shared_ptr<X11FrameScratch> scratch_ = std::make_shared<X11FrameScratch>();
    uint16_t pixmapWidth_ = 0;
    uint16_t pixmapHeight_ = 0;
};

}  // namespace desktop
