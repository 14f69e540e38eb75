#include "platform/desktop/wayland/WaylandUnavailable.h"

#include "app/Log.h"
#include "platform/Platform.h"

namespace desktop {
namespace {

class RefusedStream : public platform::Stream {
public:
    explicit RefusedStream(std::string reason) : reason_(std::move(reason)) {}

    std::optional<platform::PlatformError> addStreamOutput(std::weak_ptr<platform::StreamOutput>,
                                                           platform::StreamOutputType) override {
        return std::nullopt;
    }
    void startCapture(Completion completion) override {
        platform::dispatch().globalAsync([completion = std::move(completion), reason = reason_] {
            completion(platform::PlatformError{1, reason});
        });
    }
    void stopCapture(Completion completion) override {
        platform::dispatch().globalAsync(
            [completion = std::move(completion)] { completion(std::nullopt); });
    }

private:
    const std::string reason_;
};

class UnavailableCaptureStreams : public platform::CaptureStreams {
public:
    explicit UnavailableCaptureStreams(std::string reason) : reason_(std::move(reason)) {}

    platform::ContentFilter desktopIndependentWindowFilter(
        const platform::SCWindow& window) override {
        return {window, {0, 0, window.frame.width, window.frame.height}, 1};
    }
    std::shared_ptr<platform::Stream> createStream(
        const platform::ContentFilter&, const platform::StreamConfiguration&,
        std::weak_ptr<platform::StreamDelegate>) override {
        return std::make_shared<RefusedStream>(reason_);
    }

private:
    const std::string reason_;
};

class UnavailableHotKeys : public platform::HotKeys {
public:
    explicit UnavailableHotKeys(std::string reason) : reason_(std::move(reason)) {}

    platform::EventTargetRef applicationEventTarget() override { return {1}; }
    platform::OSStatus registerEventHotKey(uint32_t, uint32_t, platform::EventHotKeyID,
                                           platform::EventTargetRef, uint32_t,
                                           std::optional<platform::EventHotKeyRef>&) override {
        if (!said_) flog("wayland: no global shortcut: " + reason_);
        said_ = true;
        return platform::eventHotKeyInvalidErr;
    }
    platform::OSStatus unregisterEventHotKey(platform::EventHotKeyRef) override {
        return platform::eventHotKeyInvalidErr;
    }
    platform::OSStatus installEventHandler(platform::EventTargetRef, platform::EventHandlerUPP,
                                           const std::vector<platform::EventTypeSpec>&,
                                           void*) override {
        return platform::noErr;
    }
    platform::OSStatus getEventHotKeyID(platform::EventRef, platform::EventHotKeyID&) override {
        return platform::eventParameterNotFoundErr;
    }

private:
    const std::string reason_;
    bool said_ = false;
};

}  // namespace

std::unique_ptr<platform::CaptureStreams> makeUnavailableCaptureStreams(std::string reason) {
    return std::make_unique<UnavailableCaptureStreams>(std::move(reason));
}

std::unique_ptr<platform::HotKeys> makeUnavailableHotKeys(std::string reason) {
    return std::make_unique<UnavailableHotKeys>(std::move(reason));
}

}  // namespace desktop
