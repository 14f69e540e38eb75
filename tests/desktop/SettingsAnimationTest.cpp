#include <gtest/gtest.h>

#include "platform/Layer.h"
#include "platform/desktop/QtLayerAnimations.h"

namespace {

platform::KeyframeAnimation bounce() {
    return {"transform.scale", {1.0, 1.18, 0.93, 1.0}, {0, 0.4, 0.75, 1}, 0.3};
}

platform::KeyframeAnimation pulse() {
    return {"transform.scale", {1.0, 1.05, 1.0}, {}, 0.6, platform::KeyframeAnimation::infinite};
}

TEST(SettingsAnimationTest, KeyframesInterpolateBetweenTheirTimes) {
    const auto b = bounce();
    EXPECT_NEAR(desktop::sampleKeyframes(b, 0), 1.0, 1e-9);
    EXPECT_NEAR(desktop::sampleKeyframes(b, 0.12), 1.18, 1e-9);
    EXPECT_NEAR(desktop::sampleKeyframes(b, 0.06), 1.09, 1e-9);
    EXPECT_NEAR(desktop::sampleKeyframes(b, 0.225), 0.93, 1e-9);
    EXPECT_NEAR(desktop::sampleKeyframes(b, 5), 1.0, 1e-9);  // over: the last value

    const auto p = pulse();  // values spread evenly, repeating for ever
    EXPECT_NEAR(desktop::sampleKeyframes(p, 0.3), 1.05, 1e-9);
    EXPECT_NEAR(desktop::sampleKeyframes(p, 60.15), 1.025, 1e-9);

    auto reversing = bounce();
    reversing.autoreverses = true;
    EXPECT_NEAR(desktop::sampleKeyframes(reversing, 0.48), 1.18, 1e-9);  // on the way back
}

// The window draws at every refresh only while something moves, and a bounce added again
// starts over.
TEST(SettingsAnimationTest, RunsWhileAnAnimationPlaysAndRestartsAReplacedOne) {
    const auto root = platform::Layer::make();
    const auto button = platform::Layer::make();
    root->addSublayer(button);
    desktop::QtLayerAnimations animations;
    animations.update(*root, 100);
    EXPECT_FALSE(animations.running(100));

    button->addAnimation(bounce(), "bounce");
    animations.update(*root, 100);
    EXPECT_TRUE(animations.running(100.1));
    EXPECT_NEAR(animations.scale(*button, 100.12), 1.18, 1e-9);
    EXPECT_NEAR(animations.scale(*root, 100.12), 1.0, 1e-9);

    animations.update(*root, 100.2);  // the same animation: it keeps its start
    EXPECT_NEAR(animations.scale(*button, 100.12), 1.18, 1e-9);
    button->removeAnimation("bounce");
    animations.update(*root, 100.2);
    button->addAnimation(bounce(), "bounce");
    animations.update(*root, 100.25);
    EXPECT_NEAR(animations.scale(*button, 100.25), 1.0, 1e-9);
    EXPECT_TRUE(animations.running(100.5));
    EXPECT_FALSE(animations.running(100.6));

    button->addAnimation(pulse(), "pulse");
    animations.update(*root, 200);
    EXPECT_TRUE(animations.running(1e6));
    button->removeAllAnimations();
    animations.update(*root, 200.1);
    EXPECT_FALSE(animations.running(200.1));
}

}  // namespace
