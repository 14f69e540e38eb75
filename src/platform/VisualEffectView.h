#pragma once

#include <memory>

#include "platform/View.h"

namespace platform {

// A view that blurs what lies behind it.
class VisualEffectView : public View {
public:
    static constexpr int hudWindowMaterial = 13;
    static constexpr int behindWindowBlending = 0;
    static constexpr int withinWindowBlending = 1;
    static constexpr int followsWindowActiveState = 0;
    static constexpr int activeState = 1;

    static std::shared_ptr<VisualEffectView> make(const Rect& frame) {
        return std::make_shared<VisualEffectView>(frame);
    }
    using View::View;

    int material() const { return material_; }
    void setMaterial(int material) { material_ = material; }
    int blendingMode() const { return blendingMode_; }
    void setBlendingMode(int mode) { blendingMode_ = mode; }
    int state() const { return state_; }
    void setState(int state) { state_ = state; }

private:
    int material_ = 0;
    int blendingMode_ = behindWindowBlending;
    int state_ = followsWindowActiveState;
};

}  // namespace platform
