#include "platform/desktop/DesktopWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <cmath>

#include "platform/Platform.h"
#include "platform/desktop/DesktopKeyMonitors.h"
#include "platform/desktop/DesktopTransaction.h"
#include "platform/desktop/DesktopWindowSurface.h"
#include "platform/desktop/QtViewPainter.h"
#include "platform/desktop/QtViewTree.h"

namespace desktop {

// The toolkit's side: the window, the timer that paces frames while something animates,
// and where a background drag began.
class DesktopWindow::Bridge : public DesktopWindowSurface::Owner {
public:
    explicit Bridge(DesktopWindow& owner) : window(owner), surface(*this) {
        frameTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&frameTimer, &QTimer::timeout, [this] { surface.update(); });
    }

    void paint(QPainter& painter) override { window.paint(painter); }
    void pointerPressed(const QPointF& local, const QPointF& global) override {
        window.pressed(local.x(), local.y());
        dragging = window.pressed_.expired() && window.movable_;
        dragOrigin = global;
        windowOrigin = surface.position();
    }
    void pointerMoved(const QPointF& global) override {
        if (dragging) surface.setPosition(windowOrigin + (global - dragOrigin).toPoint());
    }
    void pointerReleased(const QPointF& local) override {
        dragging = false;
        window.released(local.x(), local.y());
    }
    void keyPressed(uint32_t keycode, uint32_t keysym, uint32_t state) override {
        window.keyPressed(keycode, keysym, state);
    }
    void exposed() override { window.exposed(); }
    void moved() override { window.followMove(); }

    DesktopWindow& window;
    DesktopWindowSurface surface;
    QTimer frameTimer;
    bool dragging = false;
    QPointF dragOrigin;
    QPoint windowOrigin;
};

namespace {

QRect rootRectOf(const platform::Rect& frame, const platform::Point& origin) {
    const auto screens = platform::screens().screens();
    const double mainHeight = screens.empty() ? 0 : screens.front().frame.height;
    return {static_cast<int>(std::lround(origin.x + frame.x)),
            static_cast<int>(std::lround(origin.y + mainHeight - frame.maxY())),
            std::max(1, static_cast<int>(std::lround(frame.width))),
            std::max(1, static_cast<int>(std::lround(frame.height)))};
}

platform::Rect frameOfRoot(const QRect& rect, const platform::Point& origin) {
    const auto screens = platform::screens().screens();
    const double mainHeight = screens.empty() ? 0 : screens.front().frame.height;
    return {rect.x() - origin.x, origin.y + mainHeight - rect.y() - rect.height(),
            double(rect.width()), double(rect.height())};
}

}  // namespace

DesktopWindow::DesktopWindow(DesktopWindowServer& server, DesktopTransaction& transaction,
                             const platform::Rect& contentRect, uint64_t styleMask)
    : DesktopWindowAttributes(contentRect, styleMask),
      transaction_(transaction),
      server_(server),
      bridge_(std::make_unique<Bridge>(*this)) {}

DesktopWindow::~DesktopWindow() {
    if (contentView_ && contentView_->layer()) transaction_.removeTree(contentView_->layer().get());
}

double DesktopWindow::now() const {
    const auto since = platform::clock().now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

void DesktopWindow::setFrame(const platform::Rect& frame, bool) {
    const bool resized = frame.size() != frame_.size();
    frame_ = frame;
    if (resized && contentView_) contentView_->setFrame({0, 0, frame.width, frame.height});
    place();
}

void DesktopWindow::setFrameOrigin(const platform::Point& origin) {
    setFrame({origin.x, origin.y, frame_.width, frame_.height}, true);
}

void DesktopWindow::place() {
    bridge_->surface.setGeometry(rootRectOf(frame_, server_.origin()));
    reshape();
    redraw();
}

// The window manager or a drag moved it: the frame follows.
void DesktopWindow::followMove() {
    const QRect geometry = bridge_->surface.geometry();
    if (geometry == rootRectOf(frame_, server_.origin())) return;
    frame_ = frameOfRoot(geometry, server_.origin());
}

void DesktopWindow::setContentView(const std::shared_ptr<platform::View>& view) {
    if (contentView_ && contentView_->layer()) transaction_.removeTree(contentView_->layer().get());
    contentView_ = view;
    if (!view) return;
    view->setFrame({0, 0, frame_.width, frame_.height});
    if (const auto layer = view->layer()) {
        std::weak_ptr<DesktopWindow> weak = weak_from_this();
        transaction_.addTree(layer.get(), [weak] {
            if (auto self = weak.lock()) self->redraw();
        });
    }
    reshape();
    redraw();
}

// Without a compositing manager the desktop cannot show partly transparent pixels (they
// would be black), so the window is opaque and cut to its rounded outline instead.
void DesktopWindow::prepareSurface() {
    DesktopWindowSurface& surface = bridge_->surface;
    const bool translucent = !opaque_ && server_.compositorRuns();
    if (surface.handle() != nullptr && translucent == translucent_) return;
    if (surface.handle() != nullptr) surface.destroy();
    translucent_ = translucent;
    QSurfaceFormat format = surface.format();
    format.setAlphaBufferSize(translucent ? 8 : 0);
    surface.setFormat(format);
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (level_ > 0) flags |= Qt::WindowStaysOnTopHint;
    surface.setFlags(flags);
    surface.create();
    reshape();
}

void DesktopWindow::reshape() {
    DesktopWindowSurface& surface = bridge_->surface;
    if (translucent_ || surface.handle() == nullptr) {
        surface.setMask(QRegion());
        return;
    }
    const auto layer = contentView_ ? contentView_->layer() : nullptr;
    const double radius = layer ? layer->cornerRadius() : 0;
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, frame_.width, frame_.height), radius, radius);
    surface.setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void DesktopWindow::makeKeyAndOrderFront() {
    prepareSurface();
    DesktopWindowSurface& surface = bridge_->surface;
    surface.setGeometry(rootRectOf(frame_, server_.origin()));
    server_.stampUserTime(static_cast<uint32_t>(surface.winId()));
    visible_ = true;
    activationPending_ = true;
    surface.show();
    surface.raise();
    surface.requestActivate();
    if (surface.isExposed()) exposed();
    redraw();
}

// The window manager listens to a request for focus only once it manages the window.
void DesktopWindow::exposed() {
    if (!activationPending_) return;
    activationPending_ = false;
    server_.requestActivation(static_cast<uint32_t>(bridge_->surface.winId()));
}

void DesktopWindow::orderOut() {
    visible_ = false;
    activationPending_ = false;
    bridge_->frameTimer.stop();
    bridge_->surface.hide();
}

bool DesktopWindow::isKeyWindow() const {
    return visible_ && bridge_->surface.isActive();
}

uint32_t DesktopWindow::windowId() const {
    const auto& surface = bridge_->surface;
    return surface.handle() != nullptr ? static_cast<uint32_t>(surface.winId()) : 0;
}

// Notes animations as they start, then paints once the event loop is free: every change
// made in the same turn shows in one frame.
void DesktopWindow::redraw() {
    if (!visible_) return;
    if (contentView_ && contentView_->layer()) animations_.update(*contentView_->layer(), now());
    bridge_->surface.update();
}

void DesktopWindow::paint(QPainter& painter) {
    const double time = now();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(QPoint(0, 0), bridge_->surface.size()), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (contentView_) {
        if (const auto layer = contentView_->layer()) animations_.update(*layer, time);
        QtViewPainter(animations_, time, translucent_).paint(painter, *contentView_);
    }
    ++framesDrawn_;
    QTimer& timer = bridge_->frameTimer;
    if (!animations_.running(time)) {
        timer.stop();
    } else if (!timer.isActive()) {
        const QScreen* screen = bridge_->surface.screen();
        const double rate = screen != nullptr && screen->refreshRate() > 1 ? screen->refreshRate()
                                                                           : server_.refreshRate();
        timer.start(std::max(1, static_cast<int>(std::lround(1000.0 / rate))));
    }
}

void DesktopWindow::pressed(double x, double y) {
    const auto hit = QtViewTree::viewAt(contentView_, {x, y});
    pressed_ = std::dynamic_pointer_cast<platform::Button>(hit);
}

// A click counts when the button is still under the pointer as it is released.
void DesktopWindow::released(double x, double y) {
    const auto button = pressed_.lock();
    pressed_.reset();
    if (button && QtViewTree::viewAt(contentView_, {x, y}) == button) button->performClick();
    redraw();  // a label's or a title's text may have changed without its layer
}

void DesktopWindow::keyPressed(uint32_t keycode, uint32_t keysym, uint32_t state) {
    auto* monitors = dynamic_cast<DesktopKeyMonitors*>(&platform::keyMonitors());
    const auto event = server_.keyEvent(keycode, keysym, state);
    if (monitors == nullptr || !event) return;
    monitors->deliver(*event);  // the window's controls take no keys
    redraw();
}

}  // namespace desktop
