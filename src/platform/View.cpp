#include "platform/View.h"

#include <algorithm>

namespace platform {

void View::setFrame(const Rect& frame) {
    frame_ = frame;
    if (layer_) layer_->setFrame(frame);
}

void View::setWantsLayer(bool flag) {
    wantsLayer_ = flag;
    if (!flag || layer_) return;
    layer_ = Layer::make();
    layer_->setFrame(frame_);
    attachLayer();
    for (const auto& subview : subviews_)
        subview->attachLayer();
}

// Puts this view's layer into the superview's layer, if both have one.
void View::attachLayer() {
    const auto parent = superview();
    if (layer_ && parent && parent->layer_) parent->layer_->addSublayer(layer_);
}

bool View::hasAncestor(const View* view) const {
    for (auto parent = superview(); parent; parent = parent->superview())
        if (parent.get() == view) return true;
    return false;
}

void View::addSubview(const std::shared_ptr<View>& view) {
    if (!view || view.get() == this || hasAncestor(view.get())) return;
    const std::shared_ptr<View> keep = view;  // removal may drop the last other owner
    keep->removeFromSuperview();
    subviews_.push_back(keep);
    keep->superview_ = weak_from_this();
    keep->attachLayer();
}

void View::removeFromSuperview() {
    const auto parent = superview();
    superview_.reset();
    if (!parent) return;
    if (layer_ && layer_->superlayer() == parent->layer_) layer_->removeFromSuperlayer();
    std::erase_if(parent->subviews_, [this](const auto& view) { return view.get() == this; });
}

}  // namespace platform
