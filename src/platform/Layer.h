#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Color.h"
#include "platform/Geometry.h"
#include "platform/KeyframeAnimation.h"

namespace platform {

// A rectangle of content in a tree of layers that the backend draws. Owned through
// std::shared_ptr: a layer holds its sublayers strongly and its superlayer weakly.
// Properties are main thread only. Subclasses (a video layer, say) may add content.
class Layer : public std::enable_shared_from_this<Layer> {
public:
    // Autoresizing: a sublayer with these bits follows its superlayer's size changes.
    static constexpr uint32_t widthSizable = 2;
    static constexpr uint32_t heightSizable = 16;

    static std::shared_ptr<Layer> make() { return std::make_shared<Layer>(); }

    Layer() = default;
    virtual ~Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // The frame is in the superlayer's coordinates; setting it also sets the bounds' size.
    Rect frame() const { return frame_; }
    void setFrame(const Rect& frame);
    // Setting the bounds keeps the layer's centre where it was.
    Rect bounds() const { return bounds_; }
    void setBounds(const Rect& bounds);

    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool flag);
    Color borderColor() const { return borderColor_; }
    void setBorderColor(const Color& color);
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double width);
    std::optional<Color> backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<Color> color);

    Color shadowColor() const { return shadowColor_; }
    void setShadowColor(const Color& color);
    double shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(double opacity);
    double shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(double radius);
    Size shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(const Size& offset);

    uint32_t autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(uint32_t mask);

    // Adds on top of the existing sublayers, taking the layer from any earlier parent.
    // Adding this layer itself or one of its ancestors is refused.
    void addSublayer(const std::shared_ptr<Layer>& layer);
    void removeFromSuperlayer();
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return sublayers_; }
    std::shared_ptr<Layer> superlayer() const { return superlayer_.lock(); }

    // Replaces an animation running under the same key.
    void addAnimation(const KeyframeAnimation& animation, const std::string& key);
    void removeAnimation(const std::string& key);
    void removeAllAnimations();
    // What runs under the key now; an animation removed on completion is gone after it.
    std::optional<KeyframeAnimation> animation(const std::string& key) const;
    // The keys of the running animations, in the order they were added.
    std::vector<std::string> animationKeys() const;

private:
    struct Running {
        std::string key;
        KeyframeAnimation animation;
        double startedAt = 0;
    };

    void changed(std::string_view property) const;
    void resizeSublayers(const Size& oldSize);
    bool isRunning(const Running& running) const;
    bool hasAncestor(const Layer* layer) const;

    Rect frame_;
    Rect bounds_;
    double cornerRadius_ = 0;
    bool masksToBounds_ = false;
    Color borderColor_ = Color::black();
    double borderWidth_ = 0;
    std::optional<Color> backgroundColor_;
    Color shadowColor_ = Color::black();
    double shadowOpacity_ = 0;
    double shadowRadius_ = 3;
    Size shadowOffset_{0, -3};
    uint32_t autoresizingMask_ = 0;
    std::vector<std::shared_ptr<Layer>> sublayers_;
    std::weak_ptr<Layer> superlayer_;
    std::vector<Running> animations_;
};

}  // namespace platform
