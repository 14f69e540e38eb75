#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "capture/CaptureManager.h"
#include "platform/ShareableContent.h"

// One pinned window: the live capture of a real window of another application, shown over
// it. Closures that may outlive the panel hold it weakly.
class MirrorPanel : public std::enable_shared_from_this<MirrorPanel> {
public:
    // Builds the panel; shows nothing and starts nothing.
    static std::shared_ptr<MirrorPanel> create(const platform::SCWindow& scWindow);

    const platform::SCWindow& scWindow() const { return scWindow_; }
    // The owning application's process identifier; 0 when the window has none.
    int32_t pid() const { return pid_; }
    const std::shared_ptr<CaptureManager>& capture() const { return capture_; }
    // The corner radius measured from the picture, once known.
    std::optional<double> measuredCornerRadius() const { return cornerRadius_; }

    // Moves to the main queue, then starts the capture; a failed start stops the panel.
    void start();
    // Ends everything start() began; may run any number of times.
    void stop();

private:
    explicit MirrorPanel(const platform::SCWindow& scWindow);
    void installCaptureHandlers();
    void captureStarted(const std::optional<platform::PlatformError>& error);

    const platform::SCWindow scWindow_;
    const int32_t pid_;
    const std::shared_ptr<CaptureManager> capture_;
    std::optional<double> cornerRadius_;
};
