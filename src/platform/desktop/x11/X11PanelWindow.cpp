#include "platform/desktop/x11/X11PanelWindow.h"

#include <unistd.h>
#include <xcb/shape.h>
#include <xcb/xcb_renderutil.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/Platform.h"
#include "platform/desktop/DesktopTransaction.h"
#include "platform/desktop/x11/SpanRegion.h"
#include "platform/desktop/x11/X11CaptureFrame.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

// A 32-bit TrueColor visual of the screen, for windows with real alpha.
xcb_visualtype_t* argbVisual(const xcb_screen_t& screen) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem > 0;
         xcb_depth_next(&depths)) {
        if (depths.data->depth != 32) continue;
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
             xcb_visualtype_next(&visuals))
            if (visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) return visuals.data;
    }
    return nullptr;
}

bool compositorRuns(X11Connection& x) {
    const auto cookie = xcb_get_selection_owner(x.get(), x.atom("_NET_WM_CM_S0"));
    const auto reply = fetch(x.get(), cookie, xcb_get_selection_owner_reply);
    return reply && reply->owner != XCB_WINDOW_NONE;
}

// On the capture thread: the frame just enqueued, drawn there.
bool drawnByCaptureThread(const platform::SampleBufferRenderer& renderer,
                          X11VideoCompositor& compositor) {
    const auto sample = renderer.lastSampleBuffer();
    const auto* frame =
        sample ? dynamic_cast<const X11CaptureFrame*>(sample->imageBuffer()) : nullptr;
    return frame != nullptr && compositor.draw(*frame);
}

uint16_t pixels(double length) {
    return static_cast<uint16_t>(std::clamp(std::lround(length), 1L, 32767L));
}

}  // namespace

X11PanelWindow::X11PanelWindow(X11Context& context, DesktopTransaction& transaction,
                               const platform::Rect& contentRect, uint64_t styleMask)
    : DesktopWindowAttributes(contentRect, styleMask),
      context_(context),
      transaction_(transaction) {}

X11PanelWindow::~X11PanelWindow() {
    if (contentView_ && contentView_->layer()) transaction_.removeTree(contentView_->layer().get());
    if (eventToken_ != 0) context_.events().unsubscribe(eventToken_);
    if (modelToken_ != 0) context_.windows().removeListener(modelToken_);
    painter_.reset();
    xcb_connection_t* c = context_.main().get();
    if (picture_ != 0) xcb_render_free_picture(c, picture_);
    if (window_ != 0) xcb_destroy_window(c, window_);
    xcb_flush(c);
}

void X11PanelWindow::create() {
    X11Connection& x = context_.main();
    xcb_connection_t* c = x.get();
    const xcb_screen_t& screen = *x.screen();
    xcb_visualtype_t* visual = compositorRuns(x) ? argbVisual(screen) : nullptr;
    argb_ = visual != nullptr;
    const xcb_visualid_t visualId = argb_ ? visual->visual_id : screen.root_visual;
    visual_ = visualId;
    const uint8_t depth = argb_ ? 32 : screen.root_depth;
    xcb_colormap_t colormap = screen.default_colormap;
    if (argb_) {
        colormap = xcb_generate_id(c);
        xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, colormap, x.root(), visualId);
    }
    window_ = xcb_generate_id(c);
    const xcb_rectangle_t r = rootRect();
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, 1,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY, colormap};
    xcb_create_window(c, depth, window_, x.root(), r.x, r.y, r.width, r.height, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, visualId,
                      XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT |
                          XCB_CW_EVENT_MASK | XCB_CW_COLORMAP,
                      values);
    if (argb_) xcb_free_colormap(c, colormap);
    const uint32_t pid = static_cast<uint32_t>(::getpid());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, x.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL,
                        32, 1, &pid);
    static constexpr char wmClass[] = "veltrin\0Veltrin";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        sizeof wmClass, wmClass);
    const auto* format =
        xcb_render_util_find_visual_format(xcb_render_util_query_formats(c), visualId);
    picture_ = xcb_generate_id(c);
    xcb_render_create_picture(c, picture_, window_, format != nullptr ? format->format : 0, 0,
                              nullptr);
    painter_ = std::make_unique<X11LayerPainter>(x);
    width_ = r.width;
    height_ = r.height;
    std::weak_ptr<X11PanelWindow> weak = weak_from_this();
    eventToken_ = context_.events().subscribe([weak](const xcb_generic_event_t& event) {
        auto self = weak.lock();
        return self != nullptr && self->handle(event);
    });
    modelToken_ = context_.windows().addChangeListener([weak] {
        if (auto self = weak.lock()) self->keepAboveManagedWindows();
    });
    reshape();
    x.flush();
}

bool X11PanelWindow::handle(const xcb_generic_event_t& event) {
    if (eventType(event) != XCB_EXPOSE) return false;
    const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
    if (expose.window != window_) return false;
    if (expose.count == 0) redraw();
    return true;
}

// Screen coordinates (bottom left of the main screen, y upwards) to the root's.
xcb_rectangle_t X11PanelWindow::rootRect() const {
    const auto screens = platform::screens().screens();
    const double mainHeight = screens.empty() ? 0 : screens.front().frame.height;
    const platform::Point origin = context_.windows().origin();
    return {static_cast<int16_t>(std::lround(origin.x + frame_.x)),
            static_cast<int16_t>(std::lround(origin.y + mainHeight - frame_.maxY())),
            pixels(frame_.width), pixels(frame_.height)};
}

void X11PanelWindow::setFrame(const platform::Rect& frame, bool) {
    const bool resized = frame.size() != frame_.size();
    frame_ = frame;
    if (resized && contentView_) contentView_->setFrame({0, 0, frame.width, frame.height});
    place();
}

void X11PanelWindow::setFrameOrigin(const platform::Point& origin) {
    setFrame({origin.x, origin.y, frame_.width, frame_.height}, true);
}

void X11PanelWindow::place() {
    const xcb_rectangle_t r = rootRect();
    const uint32_t values[] = {uint32_t(int32_t(r.x)), uint32_t(int32_t(r.y)), r.width, r.height};
    xcb_configure_window(context_.main().get(), window_,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    const bool resized = r.width != width_ || r.height != height_;
    width_ = r.width;
    height_ = r.height;
    if (resized) {
        reshape();
        redraw();
    }
    context_.main().flush();
}

// Input passes through when the window ignores the mouse; without alpha, the outline of
// the content view's rounded layer bounds what shows.
void X11PanelWindow::reshape() {
    xcb_connection_t* c = context_.main().get();
    if (ignoresMouse_)
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                             window_, 0, 0, 0, nullptr);
    else
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, window_, 0, 0, XCB_NONE);
    if (argb_) return;
    const auto shape = visibleShape();
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED,
                         window_, 0, 0, static_cast<uint32_t>(shape.size()), shape.data());
    shapedWithPicture_ = painter_->drewPicture();
}

// The rounded outline of the content view's layer; until a picture is drawn only its border
// shows, so the real window beneath stays visible instead of an empty panel.
std::vector<xcb_rectangle_t> X11PanelWindow::visibleShape() const {
    const auto layer = contentView_ ? contentView_->layer() : nullptr;
    const platform::Rect whole{0, 0, double(width_), double(height_)};
    const double radius = layer && layer->masksToBounds() ? layer->cornerRadius() : 0;
    const SpanRegion outline = SpanRegion::roundedRect(whole, radius, height_);
    if (painter_->drewPicture() || layer == nullptr) return outline.rectangles();
    const double border = layer->borderColor().alpha > 0 ? layer->borderWidth() : 0;
    const SpanRegion hole = SpanRegion::roundedRect(whole.insetBy(border, border),
                                                    std::max(radius - border, 0.0), height_);
    return outline.rectanglesOutside(hole);
}

void X11PanelWindow::setIgnoresMouseEvents(bool flag) {
    ignoresMouse_ = flag;
    if (window_ != 0) reshape();
}

void X11PanelWindow::setContentView(const std::shared_ptr<platform::View>& view) {
    if (contentView_ && contentView_->layer()) transaction_.removeTree(contentView_->layer().get());
    contentView_ = view;
    if (!view) return;
    view->setFrame({0, 0, frame_.width, frame_.height});
    if (const auto layer = view->layer()) {
        std::weak_ptr<X11PanelWindow> weak = weak_from_this();
        transaction_.addTree(layer.get(), [weak] {
            if (auto self = weak.lock()) self->redraw();
        });
    }
    reshape();
    redraw();
}

void X11PanelWindow::redraw() {
    const auto layer = contentView_ ? contentView_->layer() : nullptr;
    if (layer == nullptr || window_ == 0) return;
    painter_->paint(picture_, *layer, width_, height_);
    reshape();  // the corner radius or the picture may have changed
    watchFrames();
    handOverFrames();
    context_.main().flush();
}

void X11PanelWindow::redrawVideo() {
    if (!visible_) return;
    painter_->paintVideo(picture_);
    if (!argb_ && painter_->drewPicture() != shapedWithPicture_) reshape();
    handOverFrames();
    context_.main().flush();
}

// Once the panel shows a picture in its final shape, the capture threads draw the frames
// that follow; the main thread hears of them again only when the layout changes.
void X11PanelWindow::handOverFrames() {
    if (visible_ && painter_->drewPicture() && (argb_ || shapedWithPicture_))
        painter_->armOutputs(window_, visual_);
    else
        painter_->disarmOutputs();
}

// A frame that its capture thread cannot draw asks for one redraw of the picture; frames
// that arrive before it runs share it.
void X11PanelWindow::watchFrames() {
    std::weak_ptr<X11PanelWindow> weak = weak_from_this();
    const auto pending = framePending_;
    for (const auto* layer : painter_->videoLayers()) {
        auto* renderer =
            &const_cast<platform::SampleBufferRenderer&>(layer->sampleBufferRenderer());
        renderer->setFrameObserver(
            [weak, pending, renderer, compositor = painter_->compositorFor(layer)] {
                if (compositor != nullptr && drawnByCaptureThread(*renderer, *compositor)) return;
                if (pending->exchange(true)) return;
                platform::dispatch().mainAsync([weak, pending] {
                    pending->store(false);
                    if (auto self = weak.lock()) self->redrawVideo();
                });
            });
    }
}

void X11PanelWindow::makeKeyAndOrderFront() {
    xcb_map_window(context_.main().get(), window_);
    visible_ = true;
    keepAboveManagedWindows();
    redraw();
}

void X11PanelWindow::orderOut() {
    if (window_ == 0) return;
    xcb_unmap_window(context_.main().get(), window_);
    visible_ = false;
    painter_->disarmOutputs();
    context_.main().flush();
}

// Restacks the panel directly above the topmost shown managed window when one rose over it.
void X11PanelWindow::keepAboveManagedWindows() {
    if (!visible_) return;
    X11Connection& x = context_.main();
    std::set<xcb_window_t> frames;
    for (const X11Client& client : context_.windows().clientsTopFirst())
        if (client.mapped) frames.insert(client.frame);
    const auto tree = fetch(x.get(), xcb_query_tree(x.get(), x.root()), xcb_query_tree_reply);
    if (!tree) return;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = count - 1; i >= 0; --i) {
        if (children[i] == window_) return;  // already above every managed window
        if (!frames.contains(children[i])) continue;
        const uint32_t values[] = {children[i], XCB_STACK_MODE_ABOVE};
        xcb_configure_window(x.get(), window_,
                             XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
        x.flush();
        return;
    }
}

}  // namespace desktop
