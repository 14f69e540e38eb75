#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/PixelBuffer.h"
#include "platform/ShareableContent.h"

namespace platform {

inline constexpr uint32_t pixelFormatBGRA = 0x42475241;  // 'BGRA'
inline constexpr const char* colorSpaceSRGB = "kCGColorSpaceSRGB";

struct FrameInterval {
    int64_t value = 0;
    int32_t timescale = 0;
    bool operator==(const FrameInterval&) const = default;
};

struct StreamConfiguration {
    uint32_t pixelFormat = 0;
    std::string colorSpaceName;
    bool showsCursor = true;
    bool capturesAudio = false;
    FrameInterval minimumFrameInterval;
    int queueDepth = 3;
    size_t width = 0;   // pixels
    size_t height = 0;  // pixels
};

// What a stream captures: one window alone, independent of the desktop around it.
struct ContentFilter {
    SCWindow window;
    Rect contentRect;            // points
    double pointPixelScale = 1;  // pixels a point
};

enum class StreamOutputType : int32_t { screen = 0, audio = 1 };

// Receives the frames of a stream on the global concurrent queue.
class StreamOutput {
public:
    virtual ~StreamOutput() = default;
    virtual void didOutputSampleBuffer(const std::shared_ptr<SampleBuffer>& sampleBuffer,
                                       StreamOutputType type) = 0;
};

// Told when the stream stops by itself; on any thread.
class StreamDelegate {
public:
    virtual ~StreamDelegate() = default;
    virtual void didStopWithError(const PlatformError& error) = 0;
};

// One capture stream. Output and delegate are held weakly: the owner of the stream
// usually is both.
class Stream {
public:
    using Completion = std::function<void(std::optional<PlatformError>)>;

    virtual ~Stream() = default;

    // Frames of the given type go to the output, on the global concurrent queue.
    virtual std::optional<PlatformError> addStreamOutput(std::weak_ptr<StreamOutput> output,
                                                         StreamOutputType type) = 0;
    // The completions run once, on a thread other than the caller's.
    virtual void startCapture(Completion completion) = 0;
    virtual void stopCapture(Completion completion) = 0;
};

class CaptureStreams {
public:
    virtual ~CaptureStreams() = default;

    // The filter for one window alone, with its content rectangle and point-to-pixel scale.
    virtual ContentFilter desktopIndependentWindowFilter(const SCWindow& window) = 0;
    virtual std::shared_ptr<Stream> createStream(const ContentFilter& filter,
                                                 const StreamConfiguration& configuration,
                                                 std::weak_ptr<StreamDelegate> delegate) = 0;
};

}  // namespace platform
