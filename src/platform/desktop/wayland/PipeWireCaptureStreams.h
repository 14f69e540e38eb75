#pragma once

#include <memory>

#include "platform/CaptureStream.h"
#include "platform/Dispatch.h"
#include "platform/desktop/wayland/ScreencastSource.h"

namespace desktop {

// Window capture on a compositor that shares windows as PipeWire nodes: the source turns
// the window's uuid into a node, which the stream consumes. The dispatch's main queue must
// run on the thread where the source and the lookup live.
class PipeWireCaptureStreams : public platform::CaptureStreams {
public:
    PipeWireCaptureStreams(std::shared_ptr<ScreencastSource> source, WindowUuidLookup lookup,
                           platform::Dispatch& dispatch, double startDeadlineSeconds = 5);

    // One point is one pixel: the compositor's buffers are as large as the window.
    platform::ContentFilter desktopIndependentWindowFilter(
        const platform::SCWindow& window) override;
    std::shared_ptr<platform::Stream> createStream(
        const platform::ContentFilter& filter, const platform::StreamConfiguration& configuration,
        std::weak_ptr<platform::StreamDelegate> delegate) override;

private:
    const std::shared_ptr<ScreencastSource> source_;
    const WindowUuidLookup lookup_;
    platform::Dispatch& dispatch_;
    const double startDeadline_;
};

}  // namespace desktop
