#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "capture/CaptureManager.h"
#include "platform/AXObservers.h"
#include "platform/Color.h"
#include "platform/DisplayLink.h"
#include "platform/EventTaps.h"
#include "platform/Geometry.h"
#include "platform/Layer.h"
#include "platform/ShareableContent.h"
#include "platform/Timers.h"
#include "platform/Window.h"
#include "platform/WindowList.h"

// A window-server rectangle (top left, y downwards) as a screen rectangle (bottom left,
// y upwards), against the main display as it is now. Main thread only.
platform::Rect cgToScreen(const platform::Rect& rect);

// One pinned window: a floating panel over the real window of another application, with
// the live capture of that window inside a coloured rounded frame. It follows the real
// window, unpins itself when the window goes, and a press on it raises the real window.
// Timers, display-link handlers and posted work hold it weakly; the observer and the tap
// carry an unowned pointer to it, which stop() removes before the panel can go.
class MirrorPanel : public std::enable_shared_from_this<MirrorPanel> {
public:
    // Builds the panel and its layers; shows nothing and starts nothing. Main thread.
    static std::shared_ptr<MirrorPanel> create(const platform::SCWindow& scWindow);

    const platform::SCWindow& scWindow() const { return scWindow_; }
    // The owning application's process identifier; 0 when the window has none.
    int32_t pid() const { return pid_; }
    const std::shared_ptr<CaptureManager>& capture() const { return capture_; }
    const std::shared_ptr<platform::Window>& panel() const { return panel_; }
    const std::shared_ptr<platform::Layer>& contentLayer() const { return contentLayer_; }

    // From the main queue: shows the panel, then starts the capture and, once it runs,
    // the observer, the click watcher, the alive check and the polling.
    void start();
    // Recolours the frame; the clear colour hides it.
    void setBorderColor(const platform::Color& color);
    // Ends everything start() began and closes the panel; may run any number of times.
    void stop();

    // --- following the real window ---------------------------------------------------
    // The pinned window's element among the application's windows.
    std::optional<platform::AXElement> findAXWindow(const platform::AXElement& axApp) const;
    // Main thread: moves the panel to the window's rectangle now.
    void syncFrame();
    // Display-link thread: hands a changed rectangle to the main queue; an unchanged one
    // costs a window-server query and one comparison.
    void pollFrame();
    // Main thread: the panel around the given screen rectangle, unless it is there already.
    void applyFrame(const platform::Rect& frame);
    // Main thread: unpins when the real window no longer exists.
    void checkAlive();

    // --- clicks on the picture -------------------------------------------------------
    // Gives back the event, always unchanged; a press inside raises the real window.
    platform::TapEvent handleTap(const platform::TapEvent& event);
    void raiseRealWindow();

    // The next panel built measures the main display again; a fresh simulated desktop is
    // a fresh process for this cache. Never while a panel polls.
    static void forgetScreenFrame();

private:
    explicit MirrorPanel(const platform::SCWindow& scWindow);
    void build();
    std::shared_ptr<platform::View> buildContentView(const platform::Rect& real,
                                                     const platform::Rect& frame);
    void installCaptureHandlers();
    void captureStarted(const std::optional<platform::PlatformError>& error);
    void cornerMeasured(double radius);
    std::shared_ptr<platform::Layer> contentViewLayer() const;

    void startObserver();
    void startTap();
    void startTracking();
    void stopObserver();
    void stopTap();
    std::optional<platform::Rect> readBounds(std::vector<platform::WindowInfo>& records) const;
    static const platform::Rect& screenFrame();
    static void observerCallback(const platform::AXElement& element, std::string_view notification,
                                 void* refcon);
    static std::optional<platform::TapEvent> tapCallback(uint32_t type,
                                                         const platform::TapEvent& event,
                                                         void* userInfo);

    const platform::SCWindow scWindow_;
    const int32_t pid_;
    const std::shared_ptr<CaptureManager> capture_;
    std::shared_ptr<platform::Window> panel_;
    std::shared_ptr<platform::AXObserver> axObserver_;
    std::shared_ptr<platform::Timer> aliveTimer_;
    std::shared_ptr<platform::DisplayLink> displayLink_;
    std::shared_ptr<platform::EventTapPort> eventTap_;
    std::shared_ptr<platform::EventTapSource> eventTapSource_;
    std::mutex lock_;               // guards lastScheduled_
    platform::Rect lastScheduled_;  // the last rectangle polling read
    const std::shared_ptr<platform::Layer> contentLayer_;
    // Once stopped, a start or a capture answer still on its way starts nothing.
    bool stopped_ = false;
    // Polling's reused record list: display-link thread only, so polls allocate nothing.
    std::vector<platform::WindowInfo> pollRecords_;
};
