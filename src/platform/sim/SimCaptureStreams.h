#pragma once

#include "platform/CaptureStream.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

class SimCaptureStreams : public platform::CaptureStreams {
public:
    explicit SimCaptureStreams(SimDesktop& desktop) : desktop_(desktop) {}

    // The window's own size at its recorded frame, at the desktop's scale for it.
    platform::ContentFilter desktopIndependentWindowFilter(
        const platform::SCWindow& window) override {
        return {window, window.frame.bounds(), desktop_.captureModel.scale(window.windowID)};
    }
    std::shared_ptr<platform::Stream> createStream(
        const platform::ContentFilter& filter, const platform::StreamConfiguration& configuration,
        std::weak_ptr<platform::StreamDelegate> delegate) override {
        return desktop_.captureModel.createStream(filter, configuration, std::move(delegate));
    }

private:
    SimDesktop& desktop_;
};

}  // namespace sim
