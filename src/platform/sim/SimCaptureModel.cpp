#include "platform/sim/SimCaptureModel.h"

namespace sim {

void SimCaptureModel::setScale(uint32_t window, double scale) {
    std::lock_guard lock(mutex_);
    windows_[window].scale = scale;
}

double SimCaptureModel::scale(uint32_t window) const {
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    return found != windows_.end() ? found->second.scale : defaultScale;
}

void SimCaptureModel::setStartError(uint32_t window, std::optional<platform::PlatformError> error) {
    std::lock_guard lock(mutex_);
    windows_[window].startError = std::move(error);
}

void SimCaptureModel::setAddOutputError(uint32_t window,
                                        std::optional<platform::PlatformError> error) {
    std::lock_guard lock(mutex_);
    windows_[window].addOutputError = std::move(error);
}

std::optional<platform::PlatformError> SimCaptureModel::startError(uint32_t window) const {
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    return found != windows_.end() ? found->second.startError : std::nullopt;
}

std::optional<platform::PlatformError> SimCaptureModel::addOutputError(uint32_t window) const {
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    return found != windows_.end() ? found->second.addOutputError : std::nullopt;
}

std::shared_ptr<SimStream> SimCaptureModel::createStream(
    const platform::ContentFilter& filter, const platform::StreamConfiguration& configuration,
    std::weak_ptr<platform::StreamDelegate> delegate) {
    auto stream = std::make_shared<SimStream>(*this, filter, configuration, std::move(delegate));
    std::lock_guard lock(mutex_);
    forgetOldStreams(filter.window.windowID);
    streams_.push_back(stream);
    return stream;
}

void SimCaptureModel::forgetOldStreams(uint32_t window) {
    size_t stopped = 0;
    for (auto it = streams_.rbegin(); it != streams_.rend(); ++it)
        if ((*it)->filter().window.windowID == window &&
            (*it)->state() != SimStream::State::running && ++stopped > keptStoppedStreams)
            *it = nullptr;
    std::erase(streams_, nullptr);
}

std::vector<std::shared_ptr<SimStream>> SimCaptureModel::streams(uint32_t window) const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<SimStream>> found;
    for (const auto& stream : streams_)
        if (stream->filter().window.windowID == window) found.push_back(stream);
    return found;
}

std::shared_ptr<SimStream> SimCaptureModel::latestStream(uint32_t window) const {
    const auto all = streams(window);
    return all.empty() ? nullptr : all.back();
}

size_t SimCaptureModel::pushFrame(uint32_t window, const SimFrame& frame) {
    size_t taken = 0;
    for (const auto& stream : streams(window)) {
        if (stream->state() != SimStream::State::running) continue;
        SimFrame sized = frame;
        if (sized.width == 0) sized.width = stream->configuration().width;
        if (sized.height == 0) sized.height = stream->configuration().height;
        if (stream->deliver(makeSampleBuffer(sized), frame.type)) ++taken;
    }
    return taken;
}

size_t SimCaptureModel::failStreams(uint32_t window, const platform::PlatformError& error) {
    size_t failed = 0;
    for (const auto& stream : streams(window))
        if (stream->failWithError(error)) ++failed;
    return failed;
}

}  // namespace sim
