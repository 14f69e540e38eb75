#include "platform/Layer.h"

#include <algorithm>
#include <chrono>

#include "platform/Platform.h"

namespace platform {
namespace {

// Seconds on the desktop's clock; animations are timed against it.
double clockSeconds() {
    if (!isInstalled()) return 0;
    const auto since = clock().now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

}  // namespace

void Layer::changed(std::string_view property) const {
    if (isInstalled()) transaction().layerDidChange(*this, property);
}

void Layer::setFrame(const Rect& frame) {
    const Size oldSize = bounds_.size();
    frame_ = frame;
    bounds_.width = frame.width;
    bounds_.height = frame.height;
    changed("frame");
    resizeSublayers(oldSize);
}

void Layer::setBounds(const Rect& bounds) {
    const Size oldSize = bounds_.size();
    const Point centre{frame_.midX(), frame_.midY()};
    bounds_ = bounds;
    frame_ = {centre.x - bounds.width / 2, centre.y - bounds.height / 2, bounds.width,
              bounds.height};
    changed("bounds");
    resizeSublayers(oldSize);
}

void Layer::resizeSublayers(const Size& oldSize) {
    const double dw = bounds_.width - oldSize.width;
    const double dh = bounds_.height - oldSize.height;
    if (dw == 0 && dh == 0) return;
    for (const auto& sublayer : std::vector(sublayers_)) {
        const uint32_t mask = sublayer->autoresizingMask_;
        if ((mask & (widthSizable | heightSizable)) == 0) continue;
        Rect frame = sublayer->frame_;
        if (mask & widthSizable) frame.width += dw;
        if (mask & heightSizable) frame.height += dh;
        sublayer->setFrame(frame);
    }
}

void Layer::setCornerRadius(double radius) {
    cornerRadius_ = radius;
    changed("cornerRadius");
}

void Layer::setMasksToBounds(bool flag) {
    masksToBounds_ = flag;
    changed("masksToBounds");
}

void Layer::setBorderColor(const Color& color) {
    borderColor_ = color;
    changed("borderColor");
}

void Layer::setBorderWidth(double width) {
    borderWidth_ = width;
    changed("borderWidth");
}

void Layer::setBackgroundColor(std::optional<Color> color) {
    backgroundColor_ = color;
    changed("backgroundColor");
}

void Layer::setShadowColor(const Color& color) {
    shadowColor_ = color;
    changed("shadowColor");
}

void Layer::setShadowOpacity(double opacity) {
    shadowOpacity_ = opacity;
    changed("shadowOpacity");
}

void Layer::setShadowRadius(double radius) {
    shadowRadius_ = radius;
    changed("shadowRadius");
}

void Layer::setShadowOffset(const Size& offset) {
    shadowOffset_ = offset;
    changed("shadowOffset");
}

void Layer::setAutoresizingMask(uint32_t mask) {
    autoresizingMask_ = mask;
    changed("autoresizingMask");
}

bool Layer::hasAncestor(const Layer* layer) const {
    for (auto parent = superlayer(); parent; parent = parent->superlayer())
        if (parent.get() == layer) return true;
    return false;
}

void Layer::addSublayer(const std::shared_ptr<Layer>& layer) {
    if (!layer || layer.get() == this || hasAncestor(layer.get())) return;
    const std::shared_ptr<Layer> keep = layer;  // removal may drop the last other owner
    keep->removeFromSuperlayer();
    sublayers_.push_back(keep);
    keep->superlayer_ = weak_from_this();
    changed("sublayers");
}

void Layer::removeFromSuperlayer() {
    const auto parent = superlayer();
    superlayer_.reset();
    if (!parent) return;
    std::erase_if(parent->sublayers_, [this](const auto& layer) { return layer.get() == this; });
    parent->changed("sublayers");
}

void Layer::addAnimation(const KeyframeAnimation& animation, const std::string& key) {
    removeAnimation(key);
    animations_.push_back({key, animation, clockSeconds()});
    changed("animations");
}

void Layer::removeAnimation(const std::string& key) {
    const auto removed =
        std::erase_if(animations_, [&key](const Running& running) { return running.key == key; });
    if (removed > 0) changed("animations");
}

void Layer::removeAllAnimations() {
    if (animations_.empty()) return;
    animations_.clear();
    changed("animations");
}

bool Layer::isRunning(const Running& running) const {
    if (!running.animation.removedOnCompletion) return true;
    return clockSeconds() - running.startedAt < running.animation.activeDuration();
}

std::optional<KeyframeAnimation> Layer::animation(const std::string& key) const {
    for (const auto& running : animations_)
        if (running.key == key && isRunning(running)) return running.animation;
    return std::nullopt;
}

std::vector<std::string> Layer::animationKeys() const {
    std::vector<std::string> keys;
    for (const auto& running : animations_)
        if (isRunning(running)) keys.push_back(running.key);
    return keys;
}

}  // namespace platform
