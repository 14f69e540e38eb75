#include "platform/desktop/wayland/WaylandPanelWindow.h"

#include <wayland-client.h>

#include <QImage>

#include <algorithm>
#include <cmath>

#include "platform/PixelBuffer.h"
#include "platform/Platform.h"
#include "platform/SampleBufferDisplayLayer.h"
#include "platform/desktop/DesktopTransaction.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandPanelLook.h"
#include "platform/desktop/wayland/WaylandPictureSurface.h"
#include "platform/desktop/wayland/WaylandShmBuffer.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace desktop {
namespace {

int pixels(double length) {
    return static_cast<int>(std::clamp(std::lround(length), 1L, 32767L));
}

// A panel buffer drawn over a picture shown from below, told apart from a whole paint.
std::vector<double> over(const WaylandPanelLook& look) {
    auto values = look.values();
    values.push_back(-3);
    return values;
}

}  // namespace

WaylandPanelWindow::WaylandPanelWindow(WaylandContext& context, DesktopTransaction& transaction,
                                       const platform::Rect& contentRect, uint64_t styleMask)
    : DesktopWindowAttributes(contentRect, styleMask),
      context_(context),
      transaction_(transaction) {}

WaylandPanelWindow::~WaylandPanelWindow() {
    if (contentView_ && contentView_->layer()) transaction_.removeTree(contentView_->layer().get());
    destroySurface();
    context_.connection().flush();
}

// Screen coordinates (bottom left of the main screen, y upwards) to the compositor's.
platform::Rect WaylandPanelWindow::globalRect() const {
    const auto screens = platform::screens().screens();
    const double mainHeight = screens.empty() ? 0 : screens.front().frame.height;
    const platform::Point origin = context_.windows().origin();
    return {std::round(origin.x + frame_.x), std::round(origin.y + mainHeight - frame_.maxY()),
            double(pixels(frame_.width)), double(pixels(frame_.height))};
}

bool WaylandPanelWindow::createSurface() {
    auto& connection = context_.connection();
    const auto* output = context_.outputs().bestFor(globalRect());
    if (connection.layerShell() == nullptr || connection.compositor() == nullptr ||
        output == nullptr)
        return false;
    output_ = output->output;
    outputOrigin_ = {output->rect.x, output->rect.y};
    surface_ = wl_compositor_create_surface(connection.compositor());
    layer_ =
        zwlr_layer_shell_v1_get_layer_surface(connection.layerShell(), surface_, output_,
                                              ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "veltrin-panel");
    static const zwlr_layer_surface_v1_listener listener{&WaylandPanelWindow::configured,
                                                         &WaylandPanelWindow::closed};
    zwlr_layer_surface_v1_add_listener(layer_, &listener, this);
    zwlr_layer_surface_v1_set_anchor(
        layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, 0);
    configured_ = false;
    applyInput();
    place();
    return true;
}

void WaylandPanelWindow::destroySurface() {
    picture_.reset();
    if (layer_ != nullptr) zwlr_layer_surface_v1_destroy(layer_);
    if (surface_ != nullptr) wl_surface_destroy(surface_);
    layer_ = nullptr;
    surface_ = nullptr;
    output_ = nullptr;
    configured_ = false;
    shown_.clear();
}

void WaylandPanelWindow::configured(void* data, zwlr_layer_surface_v1* layer, uint32_t serial,
                                    uint32_t, uint32_t) {
    auto& self = *static_cast<WaylandPanelWindow*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    self.configured_ = true;
    self.redraw();
}

// The compositor took the surface away (its output went): a new one on the next showing.
void WaylandPanelWindow::closed(void* data, zwlr_layer_surface_v1*) {
    static_cast<WaylandPanelWindow*>(data)->destroySurface();
}

void WaylandPanelWindow::setFrame(const platform::Rect& frame, bool) {
    const bool resized = frame.size() != frame_.size();
    frame_ = frame;
    if (resized && contentView_) contentView_->setFrame({0, 0, frame.width, frame.height});
    if (!visible_) return;
    // A layer surface stays on its output: moving to another one takes a new surface.
    const auto* best = context_.outputs().bestFor(globalRect());
    if (surface_ != nullptr && best != nullptr && best->output != output_) destroySurface();
    if (surface_ == nullptr) {
        createSurface();
    } else {
        place();
        if (resized) redraw();
    }
    context_.connection().flush();
}

void WaylandPanelWindow::setFrameOrigin(const platform::Point& origin) {
    setFrame({origin.x, origin.y, frame_.width, frame_.height}, true);
}

// Margins from the output's top left are the position; a margin change shows with the next
// commit, which is made here when no redraw follows.
void WaylandPanelWindow::place() {
    if (layer_ == nullptr) return;
    const platform::Rect rect = globalRect();
    zwlr_layer_surface_v1_set_size(layer_, uint32_t(rect.width), uint32_t(rect.height));
    zwlr_layer_surface_v1_set_margin(layer_, int32_t(rect.y - outputOrigin_.y), 0, 0,
                                     int32_t(rect.x - outputOrigin_.x));
    wl_surface_commit(surface_);
}

void WaylandPanelWindow::applyInput() {
    if (surface_ == nullptr) return;
    if (ignoresMouse_) {
        wl_region* empty = wl_compositor_create_region(context_.connection().compositor());
        wl_surface_set_input_region(surface_, empty);
        wl_region_destroy(empty);
    } else {
        wl_surface_set_input_region(surface_, nullptr);  // the whole surface
    }
}

void WaylandPanelWindow::setIgnoresMouseEvents(bool flag) {
    ignoresMouse_ = flag;
    applyInput();
    if (surface_ != nullptr) wl_surface_commit(surface_);
    context_.connection().flush();
}

void WaylandPanelWindow::setContentView(const std::shared_ptr<platform::View>& view) {
    if (contentView_ && contentView_->layer()) transaction_.removeTree(contentView_->layer().get());
    contentView_ = view;
    if (!view) return;
    view->setFrame({0, 0, frame_.width, frame_.height});
    if (const auto layer = view->layer()) {
        std::weak_ptr<WaylandPanelWindow> weak = weak_from_this();
        transaction_.addTree(layer.get(), [weak] {
            if (auto self = weak.lock()) self->redraw();
        });
    }
    redraw();
}

void WaylandPanelWindow::makeKeyAndOrderFront() {
    visible_ = true;
    if (surface_ == nullptr) createSurface();
    context_.connection().flush();
}

void WaylandPanelWindow::orderOut() {
    visible_ = false;
    destroySurface();
    context_.connection().flush();
}

// Draws into a buffer the compositor is not reading; with none free, the release of one
// brings the redraw.
void WaylandPanelWindow::redraw() {
    const auto layer = contentView_ ? contentView_->layer() : nullptr;
    if (!visible_ || !configured_ || layer == nullptr) return;
    const platform::Rect rect = globalRect();
    const WaylandPanelLook look(*layer, int(rect.width), int(rect.height));
    redrawWanted_ = false;
    if (!drawOverPicture(look, *layer)) {
        WaylandShmBuffer* buffer = freeBuffer(int(rect.width), int(rect.height));
        if (buffer == nullptr) {
            redrawWanted_ = true;
            return;
        }
        draw(*buffer, *layer, look);
    }
    if (redrawWanted_) return;
    ++framesDrawn_;
    watchFrames();
    context_.connection().flush();
}

// A buffer that holds the frame and corners of this very look needs only the new picture, and
// the surface only that much damage when it shows the same look.
void WaylandPanelWindow::draw(WaylandShmBuffer& buffer, const platform::Layer& layer,
                              const WaylandPanelLook& look) {
    QImage image(buffer.pixels(), buffer.width(), buffer.height(), buffer.stride(),
                 QImage::Format_ARGB32_Premultiplied);
    if (buffer.drawn() != look.values() || !painter_.paintPicture(image, layer, look)) {
        painter_.paint(image, layer, look);
        buffer.setDrawn(look.values());
    }
    const QRect damage =
        look.picture() != nullptr && shown_ == look.values() ? look.pictureRect() : image.rect();
    shown_ = look.values();
    if (picture_) picture_->hide();
    wl_surface_attach(surface_, buffer.buffer(), 0, 0);
    wl_surface_damage(surface_, damage.x(), damage.y(), damage.width(), damage.height());
    buffer.setBusy();
    wl_surface_commit(surface_);
}

// The picture on the surface below, from the stream's own buffer when it can be shared, and
// the panel's buffer drawn again only for a new look. Both change with the panel's commit,
// so a resize shows its frame and picture together. False, with nothing committed, when the
// picture cannot be shown that way.
bool WaylandPanelWindow::drawOverPicture(const WaylandPanelLook& look,
                                         const platform::Layer& layer) {
    if (!pictureFitsBelow(look)) return false;
    WaylandShmBuffer* buffer = nullptr;
    if (shown_ != over(look)) {
        buffer = freeBuffer(look.size().width(), look.size().height());
        if (buffer == nullptr) {
            redrawWanted_ = true;  // the release of one brings the redraw
            return true;
        }
        if (buffer->drawn() != over(look)) {
            buffer->setDrawn({});
            QImage image(buffer->pixels(), buffer->width(), buffer->height(), buffer->stride(),
                         QImage::Format_ARGB32_Premultiplied);
            if (!painter_.paintOverPicture(image, layer, look)) {
                notOver_ = look.values();
                return false;
            }
            buffer->setDrawn(over(look));
        }
    }
    if (!picture_->show(look.sample(), look.pictureRect().topLeft())) return false;
    if (buffer != nullptr) {
        wl_surface_attach(surface_, buffer->buffer(), 0, 0);
        wl_surface_damage(surface_, 0, 0, buffer->width(), buffer->height());
        buffer->setBusy();
        shown_ = over(look);
    }
    wl_surface_commit(surface_);
    return true;
}

// The whole frame inside the panel, one pixel for one.
bool WaylandPanelWindow::pictureFitsBelow(const WaylandPanelLook& look) {
    const auto* pixels = look.picture() != nullptr ? look.sample()->imageBuffer() : nullptr;
    if (pixels == nullptr || notOver_ == look.values() ||
        look.pictureRect() !=
            QRect(look.pictureOrigin(), QSize(int(pixels->width()), int(pixels->height()))))
        return false;
    if (!picture_) picture_ = WaylandPictureSurface::make(context_.connection(), surface_);
    return picture_ != nullptr;
}

WaylandShmBuffer* WaylandPanelWindow::freeBuffer(int width, int height) {
    std::erase_if(buffers_, [&](const auto& b) {
        return !b->busy() && (b->width() != width || b->height() != height);
    });
    for (const auto& buffer : buffers_)
        if (!buffer->busy()) return buffer.get();
    if (buffers_.size() >= 3) return nullptr;
    auto made = WaylandShmBuffer::make(context_.connection().shm(), width, height);
    if (made == nullptr) return nullptr;
    std::weak_ptr<WaylandPanelWindow> weak = weak_from_this();
    made->onRelease([weak] {
        if (auto self = weak.lock(); self && self->redrawWanted_) self->redraw();
    });
    buffers_.push_back(std::move(made));
    return buffers_.back().get();
}

// Each new captured frame asks for one redraw; frames that arrive before it runs share it.
void WaylandPanelWindow::watchFrames() {
    std::weak_ptr<WaylandPanelWindow> weak = weak_from_this();
    const auto pending = framePending_;
    for (const auto* layer : painter_.videoLayers()) {
        auto& renderer = const_cast<platform::SampleBufferRenderer&>(layer->sampleBufferRenderer());
        renderer.setFrameObserver([weak, pending] {
            if (pending->exchange(true)) return;
            platform::dispatch().mainAsync([weak, pending] {
                pending->store(false);
                if (auto self = weak.lock()) self->redraw();
            });
        });
    }
}

}  // namespace desktop
