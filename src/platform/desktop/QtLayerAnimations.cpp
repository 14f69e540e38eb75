#include "platform/desktop/QtLayerAnimations.h"

#include <algorithm>
#include <cmath>

namespace desktop {
namespace {

// Where keyframe `index` of `count` lies in the run, from 0 to 1.
double keyTime(const platform::KeyframeAnimation& animation, size_t index, size_t count) {
    if (animation.keyTimes.size() == count) return animation.keyTimes[index];
    return count > 1 ? static_cast<double>(index) / static_cast<double>(count - 1) : 0;
}

double interpolate(const platform::KeyframeAnimation& animation, double fraction) {
    const auto& values = animation.values;
    const size_t count = values.size();
    for (size_t i = 1; i < count; ++i) {
        const double from = keyTime(animation, i - 1, count);
        const double to = keyTime(animation, i, count);
        if (fraction > to) continue;
        if (to <= from) return values[i];
        const double t = (fraction - from) / (to - from);
        return values[i - 1] + (values[i] - values[i - 1]) * std::clamp(t, 0.0, 1.0);
    }
    return values.back();
}

}  // namespace

double sampleKeyframes(const platform::KeyframeAnimation& animation, double elapsed) {
    if (animation.values.empty() || animation.duration <= 0) return 1;
    const double cycle = animation.duration * (animation.autoreverses ? 2 : 1);
    double local = elapsed;
    if (elapsed >= animation.activeDuration()) {
        local = animation.autoreverses ? 0 : animation.duration;  // the final frame
    } else {
        local = std::fmod(std::max(elapsed, 0.0), cycle);
        if (local > animation.duration) local = cycle - local;
    }
    return interpolate(animation, local / animation.duration);
}

void QtLayerAnimations::update(const platform::Layer& root, double now) {
    std::vector<Playing> seen;
    collect(root, now, seen);
    playing_ = std::move(seen);
}

void QtLayerAnimations::collect(const platform::Layer& layer, double now,
                                std::vector<Playing>& seen) const {
    for (const std::string& key : layer.animationKeys()) {
        const auto animation = layer.animation(key);
        if (!animation) continue;
        const auto known = std::find_if(playing_.begin(), playing_.end(), [&](const Playing& p) {
            return p.layer == &layer && p.key == key && p.animation == *animation;
        });
        const double start = known != playing_.end() ? known->start : now;
        if (now - start < animation->activeDuration() || !animation->removedOnCompletion)
            seen.push_back({&layer, key, *animation, start});
    }
    for (const auto& sublayer : layer.sublayers())
        collect(*sublayer, now, seen);
}

double QtLayerAnimations::value(const platform::Layer& layer, const std::string& keyPath,
                                double resting, double now) const {
    double result = resting;
    for (const Playing& playing : playing_)
        if (playing.layer == &layer && playing.animation.keyPath == keyPath)
            result = sampleKeyframes(playing.animation, now - playing.start);
    return result;
}

bool QtLayerAnimations::running(double now) const {
    return std::any_of(playing_.begin(), playing_.end(), [now](const Playing& playing) {
        return now - playing.start < playing.animation.activeDuration();
    });
}

double QtLayerAnimations::scale(const platform::Layer& layer, double now) const {
    return value(layer, "transform.scale", 1, now);
}

double QtLayerAnimations::opacity(const platform::Layer& layer, double now) const {
    return value(layer, "opacity", 1, now);
}

}  // namespace desktop
