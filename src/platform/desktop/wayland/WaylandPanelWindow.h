#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/desktop/DesktopWindowAttributes.h"
#include "platform/desktop/wayland/WaylandLayerPainter.h"

struct wl_surface;
struct wl_output;
struct zwlr_layer_surface_v1;

namespace desktop {

class DesktopTransaction;
class WaylandContext;
class WaylandPanelLook;
class WaylandPictureSurface;
class WaylandShmBuffer;

// A floating panel of this program as a layer-shell surface on the overlay layer of the
// output that shows most of it: anchored to the output's top left and placed by margins,
// never takes the keyboard, takes no pointer input while it ignores the mouse, and, being
// part of the output rather than of a desktop, shows on every virtual desktop. Drawn into
// shared-memory buffers from its content view's layer tree; transparent outside its
// rounded outline.
class WaylandPanelWindow : public DesktopWindowAttributes,
                           public std::enable_shared_from_this<WaylandPanelWindow> {
public:
    WaylandPanelWindow(WaylandContext& context, DesktopTransaction& transaction,
                       const platform::Rect& contentRect, uint64_t styleMask);
    ~WaylandPanelWindow() override;

    void setFrame(const platform::Rect& frame, bool display) override;
    void setFrameOrigin(const platform::Point& origin) override;
    void setIgnoresMouseEvents(bool flag) override;
    void setContentView(const std::shared_ptr<platform::View>& view) override;
    void makeKeyAndOrderFront() override;
    void orderOut() override;
    bool isKeyWindow() const override { return false; }  // a panel never takes the keyboard

    // Global logical rectangle the panel covers, and how often it was drawn: for tests.
    platform::Rect globalRect() const;
    uint64_t framesDrawn() const { return framesDrawn_; }

private:
    static void configured(void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width,
                           uint32_t height);
    static void closed(void* data, zwlr_layer_surface_v1*);
    bool createSurface();
    void destroySurface();
    void place();
    void applyInput();
    void redraw();
    void watchFrames();
    WaylandShmBuffer* freeBuffer(int width, int height);
    bool drawOverPicture(const WaylandPanelLook& look, const platform::Layer& layer);
    bool pictureFitsBelow(const WaylandPanelLook& look);
    void draw(WaylandShmBuffer& buffer, const platform::Layer& layer, const WaylandPanelLook& look);

    WaylandContext& context_;
    DesktopTransaction& transaction_;
    WaylandLayerPainter painter_;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    wl_output* output_ = nullptr;
    platform::Point outputOrigin_;
    bool configured_ = false;
    bool redrawWanted_ = false;
    std::unique_ptr<WaylandPictureSurface> picture_;
    std::vector<std::unique_ptr<WaylandShmBuffer>> buffers_;
    std::vector<double> shown_;    // the look of the buffer last committed to the surface
    std::vector<double> notOver_;  // a look that cannot be laid over its picture
    uint64_t framesDrawn_ = 0;
    // Set by a capture thread when a frame arrives, cleared by the redraw it asks for.
    std::shared_ptr<std::atomic<bool>> framePending_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace desktop
