#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/CaptureStream.h"
#include "platform/sim/SimPixelBuffer.h"
#include "platform/sim/SimStream.h"

namespace sim {

class SimDesktop;

// The capture side of the desktop: per window its point-to-pixel scale and the failures
// its streams will meet, and its streams: every running one and the latest stopped ones.
class SimCaptureModel {
public:
    static constexpr double defaultScale = 2.0;
    // Streams that are not running, kept per window besides the running ones.
    static constexpr size_t keptStoppedStreams = 8;

    explicit SimCaptureModel(SimDesktop& desktop) : desktop_(desktop) {}
    SimDesktop& desktop() { return desktop_; }

    void setScale(uint32_t window, double scale);
    double scale(uint32_t window) const;
    void setStartError(uint32_t window, std::optional<platform::PlatformError> error);
    void setAddOutputError(uint32_t window, std::optional<platform::PlatformError> error);
    std::optional<platform::PlatformError> startError(uint32_t window) const;
    std::optional<platform::PlatformError> addOutputError(uint32_t window) const;

    std::shared_ptr<SimStream> createStream(const platform::ContentFilter& filter,
                                            const platform::StreamConfiguration& configuration,
                                            std::weak_ptr<platform::StreamDelegate> delegate);
    // The streams of a window, oldest first.
    std::vector<std::shared_ptr<SimStream>> streams(uint32_t window) const;
    std::shared_ptr<SimStream> latestStream(uint32_t window) const;

    // Gives the frame (sized like each stream unless it says otherwise) to every running
    // stream of the window; returns how many took it.
    size_t pushFrame(uint32_t window, const SimFrame& frame);
    // Every running stream of the window stops with the error; returns how many did.
    size_t failStreams(uint32_t window, const platform::PlatformError& error);

private:
    // Drops the window's oldest streams that no longer run, past keptStoppedStreams.
    void forgetOldStreams(uint32_t window);

    struct WindowSettings {
        double scale = defaultScale;
        std::optional<platform::PlatformError> startError;
        std::optional<platform::PlatformError> addOutputError;
    };

    SimDesktop& desktop_;
    mutable std::mutex mutex_;
    std::map<uint32_t, WindowSettings> windows_;
    std::vector<std::shared_ptr<SimStream>> streams_;
};

}  // namespace sim
