#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/CaptureStream.h"

// What a capture stream gave the recorder so far.
struct CaptureRecord {
    using Pixel = std::array<uint8_t, 4>;  // B, G, R, A

    int frames = 0;
    size_t width = 0;  // of the latest frame
    size_t height = 0;
    Pixel centre{};
    Pixel topLeft{};
    Pixel bottomRight{};
    bool opaque = false;  // every alpha byte of the latest frame was 255
    std::chrono::nanoseconds shortestGap = std::chrono::hours(1);
    int errors = 0;
    std::string error;
    std::shared_ptr<platform::SampleBuffer> last;
};

// A stream's output and delegate that records frames (their pixels too, unless told not to)
// and errors, and lets a test wait for a condition on them.
class CaptureRecorder : public platform::StreamOutput, public platform::StreamDelegate {
public:
    explicit CaptureRecorder(bool readPixels = true) : readPixels_(readPixels) {}

    // Runs on the stream's thread after each recorded frame.
    std::function<void()> onFrame;

    void didOutputSampleBuffer(const std::shared_ptr<platform::SampleBuffer>& sampleBuffer,
                               platform::StreamOutputType type) override;
    void didStopWithError(const platform::PlatformError& error) override;

    bool waitUntil(const std::function<bool(const CaptureRecord&)>& condition,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));
    CaptureRecord record() const;
    void forgetLastFrame();

private:
    void readPixels(platform::PixelBuffer& image, CaptureRecord& record);

    const bool readPixels_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    CaptureRecord record_;
    std::chrono::steady_clock::time_point lastFrame_{};
};

// A colour 0xRRGGBB as the BGRA pixel of an opaque window.
inline CaptureRecord::Pixel bgra(uint32_t rgb) {
    return {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 255};
}
