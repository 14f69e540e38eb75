#include "pinning/MirrorPanel.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "pinning/PinManager.h"
#include "platform/Platform.h"

MirrorPanel::MirrorPanel(const platform::SCWindow& scWindow)
    : scWindow_(scWindow),
      pid_(scWindow.owningApplication ? scWindow.owningApplication->processIdentifier : 0),
      capture_(std::make_shared<CaptureManager>()) {}

std::shared_ptr<MirrorPanel> MirrorPanel::create(const platform::SCWindow& scWindow) {
    std::shared_ptr<MirrorPanel> panel(new MirrorPanel(scWindow));
    panel->installCaptureHandlers();
    return panel;
}

void MirrorPanel::installCaptureHandlers() {
    std::weak_ptr<MirrorPanel> weak = weak_from_this();
    capture_->onError = [weak] {
        auto panel = weak.lock();
        if (panel == nullptr) return;
        panel->stop();
        PinManager::shared().unpin(panel->scWindow_.windowID);
    };
    capture_->onCornerMeasured = [weak](double radius) {
        auto panel = weak.lock();
        if (panel == nullptr) return;
        flog("corner: radius " + decimalText(radius));
        panel->cornerRadius_ = radius;
    };
}

void MirrorPanel::start() {
    platform::dispatch().mainAsync([weak = weak_from_this()] {
        auto panel = weak.lock();
        if (panel == nullptr) return;
        panel->capture_->startCapture(panel->scWindow_, [weak](auto error) {
            platform::dispatch().mainAsync([weak, error] {
                if (auto panel = weak.lock()) panel->captureStarted(error);
            });
        });
    });
}

void MirrorPanel::captureStarted(const std::optional<platform::PlatformError>& error) {
    if (error) {
        flog("mirror: capture ERROR " + error->description);
        stop();
        return;
    }
    flog("mirror: capture OK");
}

void MirrorPanel::stop() {
    capture_->stopCapture();
}
