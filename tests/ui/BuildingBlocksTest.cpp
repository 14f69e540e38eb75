#include <gmock/gmock.h>

#include "app/Outfit.h"
#include "support/SimFixture.h"
#include "ui/BuildingBlocks.h"

namespace {

using ::testing::ElementsAre;

class BuildingBlocksTest : public SimFixture {
protected:
    BuildingBlocksTest() { registerOutfitFonts(); }
};

TEST_F(BuildingBlocksTest, OnlyAPillThatIsNotRedHasABorder) {
    int clicks = 0;
    const auto red = pill(
        "Quit", [&clicks](platform::Button&) { ++clicks; }, true);
    const auto plain = pill("Close", platform::Button::Action(), false);
    EXPECT_EQ(red->layer()->borderWidth(), 0);
    EXPECT_EQ(red->layer()->backgroundColor(), platform::Color::calibrated(0.85, 0.32, 0.32, 0.9));
    EXPECT_EQ(plain->layer()->borderWidth(), 1);
    EXPECT_EQ(plain->layer()->borderColor(), platform::Color::white(0.12));
    for (const auto& button : {red, plain}) {
        EXPECT_FALSE(button->isBordered());
        EXPECT_EQ(button->layer()->cornerRadius(), 10);
        EXPECT_EQ(button->font().name, "Outfit-SemiBold");
        EXPECT_EQ(button->contentTintColor(), platform::Color::white(1));
    }
    red->performClick();
    EXPECT_EQ(clicks, 1);
}

// Without a layer a bounce does nothing; with one, a later bounce replaces a running one.
TEST_F(BuildingBlocksTest, ALaterBounceReplacesARunningOne) {
    const auto view = platform::View::make({0, 0, 10, 10});
    bounce(*view);
    EXPECT_EQ(view->layer(), nullptr);
    view->setWantsLayer(true);
    bounce(*view);
    desktop.advance(0.2);
    bounce(*view);
    desktop.advance(0.2);  // past the first one's end, within the second's
    EXPECT_THAT(view->layer()->animationKeys(), ElementsAre("bounce"));
    const auto running = view->layer()->animation("bounce");
    ASSERT_TRUE(running);
    EXPECT_EQ(running->values.front(), 1.0);
    desktop.advance(0.2);
    EXPECT_TRUE(view->layer()->animationKeys().empty());
}

}  // namespace
