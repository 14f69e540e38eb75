#include "pinning/MirrorPanel.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "pinning/PinManager.h"
#include "platform/Platform.h"
#include "platform/View.h"
#include "settings/FrameStyle.h"
#include "settings/Settings.h"

namespace {

constexpr uint64_t panelStyle =
    platform::Window::nonactivatingPanelStyle | platform::Window::fullSizeContentViewStyle;
constexpr uint64_t panelBehavior = platform::Window::canJoinAllSpaces |
                                   platform::Window::stationary | platform::Window::ignoresCycle;
constexpr uint32_t followsParent = platform::Layer::widthSizable | platform::Layer::heightSizable;
// The frame's outer radius: the picture's plus the margin.
constexpr double panelRadius = FrameStyle::cornerRadius + FrameStyle::pad;

// The clear colour means no frame at all.
void paintFrame(platform::Layer& layer, const platform::Color& color) {
    const bool clear = color == platform::Color::clear();
    layer.setBorderColor(clear ? platform::Color::clear() : color);
    layer.setBorderWidth(clear ? 0 : FrameStyle::width);
}

}  // namespace

MirrorPanel::MirrorPanel(const platform::SCWindow& scWindow)
    : scWindow_(scWindow),
      pid_(scWindow.owningApplication ? scWindow.owningApplication->processIdentifier : 0),
      capture_(std::make_shared<CaptureManager>()),
      contentLayer_(platform::Layer::make()) {
    pollRecords_.reserve(1);
}

std::shared_ptr<MirrorPanel> MirrorPanel::create(const platform::SCWindow& scWindow) {
    std::shared_ptr<MirrorPanel> panel(new MirrorPanel(scWindow));
    panel->build();
    panel->installCaptureHandlers();
    return panel;
}

void MirrorPanel::build() {
    screenFrame();  // measured here, on the main thread, before any poll reads it
    const platform::Rect real = cgToScreen(scWindow_.frame);
    const platform::Rect frame = real.insetBy(-FrameStyle::pad, -FrameStyle::pad);
    panel_ =
        platform::windows().makePanel(frame, panelStyle, platform::Window::bufferedBacking, false);
    panel_->setLevel(platform::Window::floatingLevel);
    panel_->setBackgroundColor(platform::Color::clear());
    panel_->setHasShadow(false);
    panel_->setOpaque(false);
    panel_->setReleasedWhenClosed(false);
    panel_->setCollectionBehavior(panelBehavior);
    panel_->setIgnoresMouseEvents(true);
    panel_->setContentView(buildContentView(real, frame));
}

std::shared_ptr<platform::View> MirrorPanel::buildContentView(const platform::Rect& real,
                                                              const platform::Rect& frame) {
    auto view = platform::View::make({0, 0, frame.width, frame.height});
    view->setWantsLayer(true);
    const std::shared_ptr<platform::Layer> layer = view->layer();
    layer->setCornerRadius(panelRadius);
    layer->setMasksToBounds(true);
    paintFrame(*layer, Settings::borderColor());

    contentLayer_->setFrame({FrameStyle::pad, FrameStyle::pad, real.width, real.height});
    contentLayer_->setCornerRadius(FrameStyle::cornerRadius);
    contentLayer_->setMasksToBounds(true);
    layer->addSublayer(contentLayer_);

    auto staticLayer = platform::Layer::make();
    staticLayer->setFrame(contentLayer_->bounds());
    staticLayer->setAutoresizingMask(followsParent);
    contentLayer_->addSublayer(staticLayer);
    capture_->staticLayer = staticLayer;

    const auto& videoLayer = capture_->videoLayer();
    videoLayer->setFrame(contentLayer_->bounds());
    videoLayer->setAutoresizingMask(followsParent);
    contentLayer_->addSublayer(videoLayer);
    return view;
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
        if (auto panel = weak.lock()) panel->cornerMeasured(radius);
    };
}

void MirrorPanel::cornerMeasured(double radius) {
    flog("corner: radius " + decimalText(radius));
    if (contentLayer_->cornerRadius() == radius) return;
    platform::Transaction& transaction = platform::transaction();
    transaction.begin();
    transaction.setDisableActions(true);
    contentLayer_->setCornerRadius(radius);
    if (const auto layer = contentViewLayer()) layer->setCornerRadius(radius + FrameStyle::pad);
    transaction.commit();
}

std::shared_ptr<platform::Layer> MirrorPanel::contentViewLayer() const {
    const auto view = panel_ ? panel_->contentView() : nullptr;
    return view ? view->layer() : nullptr;
}

void MirrorPanel::start() {
    platform::dispatch().mainAsync([weak = weak_from_this()] {
        auto panel = weak.lock();
        if (panel == nullptr || panel->stopped_) return;
        panel->panel_->makeKeyAndOrderFront();  // the framed panel shows before the picture
        panel->capture_->startCapture(panel->scWindow_, [weak](auto error) {
            platform::dispatch().mainAsync([weak, error] {
                if (auto panel = weak.lock()) panel->captureStarted(error);
            });
        });
    });
}

void MirrorPanel::captureStarted(const std::optional<platform::PlatformError>& error) {
    if (stopped_) return;  // unpinned while the capture was starting
    if (error) {
        flog("mirror: capture ERROR " + error->description);
        stop();
        return;
    }
    flog("mirror: capture OK");
    startObserver();
    startTap();
    startTracking();
}

void MirrorPanel::setBorderColor(const platform::Color& color) {
    const auto layer = contentViewLayer();
    if (layer == nullptr) return;
    paintFrame(*layer, color);
}

void MirrorPanel::stop() {
    stopped_ = true;
    if (aliveTimer_) {
        aliveTimer_->invalidate();
        aliveTimer_.reset();
    }
    if (displayLink_) {
        displayLink_->stop();  // returns once no poll runs
        displayLink_.reset();
    }
    stopObserver();
    stopTap();
    capture_->stopCapture();
    panel_->close();
}
