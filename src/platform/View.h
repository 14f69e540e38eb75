#pragma once

#include <memory>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Layer.h"

namespace platform {

// A rectangle of a window's content, in a tree of views. Owned through std::shared_ptr:
// a view holds its subviews strongly and its superview weakly. Main thread only.
class View : public std::enable_shared_from_this<View> {
public:
    static std::shared_ptr<View> make(const Rect& frame) { return std::make_shared<View>(frame); }

    explicit View(const Rect& frame = {}) : frame_(frame) {}
    virtual ~View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // In the superview's coordinates; a backing layer takes the same frame.
    Rect frame() const { return frame_; }
    void setFrame(const Rect& frame);
    Rect bounds() const { return frame_.bounds(); }

    // A view that wants a layer gets a plain backing layer, which holds the backing
    // layers of its subviews in subview order.
    bool wantsLayer() const { return wantsLayer_; }
    void setWantsLayer(bool flag);
    std::shared_ptr<Layer> layer() const { return layer_; }

    // Adds on top of the existing subviews, taking the view from any earlier parent.
    void addSubview(const std::shared_ptr<View>& view);
    void removeFromSuperview();
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    std::shared_ptr<View> superview() const { return superview_.lock(); }

private:
    bool hasAncestor(const View* view) const;
    void attachLayer();

    Rect frame_;
    bool wantsLayer_ = false;
    std::shared_ptr<Layer> layer_;
    std::vector<std::shared_ptr<View>> subviews_;
    std::weak_ptr<View> superview_;
};

}  // namespace platform
