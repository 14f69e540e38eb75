#include "platform/Layer.h"
#include "platform/View.h"
#include "support/SimFixture.h"

using platform::KeyframeAnimation;
using platform::Layer;
using platform::Rect;

using LayerTest = SimFixture;

namespace {
constexpr uint32_t bothSizable = Layer::widthSizable | Layer::heightSizable;

std::shared_ptr<Layer> layerAt(const Rect& frame, uint32_t autoresizing = 0) {
    auto layer = Layer::make();
    layer->setFrame(frame);
    layer->setAutoresizingMask(autoresizing);
    return layer;
}
}  // namespace

TEST_F(LayerTest, SizableSublayersFollowTheirParentsSizeThroughTheTree) {
    auto parent = layerAt({6, 6, 800, 600});
    auto stretching = layerAt(parent->bounds(), bothSizable);
    auto fixed = layerAt({10, 10, 50, 50});
    auto grandchild = layerAt({0, 0, 800, 20}, Layer::widthSizable);
    stretching->addSublayer(grandchild);
    parent->addSublayer(stretching);
    parent->addSublayer(fixed);

    parent->setFrame({0, 0, 900, 500});
    EXPECT_EQ(stretching->frame(), (Rect{0, 0, 900, 500}));
    EXPECT_EQ(fixed->frame(), (Rect{10, 10, 50, 50}));
    EXPECT_EQ(grandchild->frame(), (Rect{0, 0, 900, 20}));

    parent->setBounds({0, 0, 1000, 500});  // keeps the centre
    EXPECT_EQ(parent->frame(), (Rect{-50, 0, 1000, 500}));
    EXPECT_EQ(stretching->frame().width, 1000);
}

TEST_F(LayerTest, ViewLayersFollowTheWindowAndHangInSubviewOrder) {
    auto window = platform::windows().makePanel({100, 100, 300, 200}, 0, 2, false);
    auto content = platform::View::make({0, 0, 300, 200});
    content->setWantsLayer(true);
    auto picture = layerAt({6, 6, 288, 188}, bothSizable);
    content->layer()->addSublayer(picture);
    auto first = platform::View::make({1, 1, 10, 10}),
         second = platform::View::make({2, 2, 10, 10});
    second->setWantsLayer(true);
    content->addSubview(first);
    content->addSubview(second);
    first->setWantsLayer(true);  // a layer made later still goes into the parent's layer
    window->setContentView(content);

    window->setFrame({100, 100, 400, 250}, true);
    EXPECT_EQ(content->layer()->frame(), (Rect{0, 0, 400, 250}));
    EXPECT_EQ(picture->frame(), (Rect{6, 6, 388, 238}));
    EXPECT_EQ(content->layer()->sublayers(),
              (std::vector<std::shared_ptr<Layer>>{picture, second->layer(), first->layer()}));
    EXPECT_EQ(first->superview(), content);
}

TEST_F(LayerTest, ATreeRefusesCyclesAndMovesALayerBetweenParents) {
    auto a = Layer::make(), b = Layer::make(), c = Layer::make();
    a->addSublayer(b);
    b->addSublayer(c);
    c->addSublayer(a);
    b->addSublayer(b);
    EXPECT_TRUE(c->sublayers().empty());
    EXPECT_EQ(b->sublayers().size(), 1u);
    a->addSublayer(c);
    EXPECT_TRUE(b->sublayers().empty());
    EXPECT_EQ(c->superlayer(), a);
}

TEST_F(LayerTest, AnAnimationReplacesTheOneUnderItsKeyAndEndsOnTime) {
    auto layer = Layer::make();
    const KeyframeAnimation bounce{"transform.scale", {1.0, 1.18}, {}, 0.3};
    KeyframeAnimation later = bounce;
    later.values = {1.0, 1.1};
    const KeyframeAnimation pulse{"", {}, {}, 0.6, KeyframeAnimation::infinite};
    layer->addAnimation(bounce, "bounce");
    layer->addAnimation(pulse, "pulse");
    desktop.advance(0.2);
    layer->addAnimation(later, "bounce");
    EXPECT_EQ(layer->animationKeys(), (std::vector<std::string>{"pulse", "bounce"}));
    EXPECT_EQ(layer->animation("bounce"), later);

    desktop.advance(0.2);  // the first bounce would have ended by now, the second not
    EXPECT_EQ(layer->animation("bounce"), later);
    desktop.advance(0.2);
    EXPECT_FALSE(layer->animation("bounce"));
    desktop.advance(100);
    EXPECT_EQ(layer->animation("pulse"), pulse);
    layer->removeAnimation("pulse");
    EXPECT_TRUE(layer->animationKeys().empty());
}

TEST_F(LayerTest, ChangesRecordWhetherActionsWereDisabled) {
    auto layer = Layer::make();
    auto& transaction = platform::transaction();
    layer->setCornerRadius(8);
    transaction.begin();
    transaction.setDisableActions(true);
    layer->setCornerRadius(12);
    transaction.begin();  // nested: starts disabled like the outer one
    layer->setBorderWidth(3);
    transaction.setDisableActions(false);
    layer->setBorderWidth(4);
    transaction.commit();
    layer->setBorderWidth(5);
    transaction.commit();
    transaction.commit();  // unbalanced: harmless
    layer->setCornerRadius(14);

    // (inside a transaction, actions disabled) for each change, in order
    auto flags = [&](std::string_view property) {
        std::vector<std::pair<bool, bool>> out;
        for (const auto& change : desktop.transactions.changesOf(*layer, property))
            out.emplace_back(change.inTransaction, change.actionsDisabled);
        return out;
    };
    using Flags = std::vector<std::pair<bool, bool>>;
    EXPECT_EQ(flags("cornerRadius"), (Flags{{false, false}, {true, true}, {false, false}}));
    EXPECT_EQ(flags("borderWidth"), (Flags{{true, true}, {true, false}, {true, true}}));
    EXPECT_EQ(desktop.transactions.depth(), 0u);
}
