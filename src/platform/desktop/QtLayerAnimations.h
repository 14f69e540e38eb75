#pragma once

#include <string>
#include <vector>

#include "platform/KeyframeAnimation.h"
#include "platform/Layer.h"

namespace desktop {

// The keyframe animations of one window's layers as they play. A layer does not say when
// an animation began, so an animation counts from the moment the window first saw it.
class QtLayerAnimations {
public:
    // Notes animations added since the last look as starting at `now` and forgets those
    // that have run their course or were removed. Times are the desktop clock's seconds.
    void update(const platform::Layer& root, double now);
    // What the running animations make of a property's resting value.
    double scale(const platform::Layer& layer, double now) const;
    double opacity(const platform::Layer& layer, double now) const;
    // Whether some property still changes: the window then draws at every refresh.
    bool running(double now) const;

private:
    struct Playing {
        const platform::Layer* layer;  // compared only, never followed
        std::string key;
        platform::KeyframeAnimation animation;
        double start = 0;
    };

    void collect(const platform::Layer& layer, double now, std::vector<Playing>& seen) const;
    double value(const platform::Layer& layer, const std::string& keyPath, double resting,
                 double now) const;

    std::vector<Playing> playing_;
};

// The value of an animation `elapsed` seconds after it began; nothing outside its run.
double sampleKeyframes(const platform::KeyframeAnimation& animation, double elapsed);

}  // namespace desktop
