#include <gmock/gmock.h>

#include "app/AppDelegate.h"
#include "app/ImageResizing.h"
#include "platform/Platform.h"
#include "platform/sim/SimImage.h"
#include "platform/sim/SimPng.h"
#include "support/ShellFixture.h"

namespace {

using platform::Rect;
using platform::Size;

class AppIconTest : public ShellFixture {
protected:
    std::shared_ptr<sim::SimImage> icon() {
        return std::dynamic_pointer_cast<sim::SimImage>(AppDelegate().appIconImage());
    }
    ScratchFolder folder;
};

// The picture is squeezed into the square: its full extent goes into all of 17 x 17.
TEST_F(AppIconTest, AWidePngIsStretchedToTheMenuBarSquare) {
    ASSERT_TRUE(sim::writePng(folder.file("AppIcon.png"), 1024, 512));
    desktop.shell.resourcesDirectory = folder.path();
    const auto image = icon();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (Size{17, 17}));
    EXPECT_FALSE(image->isTemplate());
    ASSERT_EQ(image->drawings.size(), 1u);
    const auto& drawn = image->drawings[0];
    EXPECT_EQ(drawn.source->size(), (Size{1024, 512}));
    EXPECT_EQ(drawn.from, (Rect{0, 0, 1024, 512}));
    EXPECT_EQ(drawn.into, (Rect{0, 0, 17, 17}));
    EXPECT_EQ(drawn.operation, platform::CompositingOperation::sourceOver);
    EXPECT_EQ(drawn.fraction, 1.0);
}

TEST_F(AppIconTest, TheShippedIconIsASquareOfItsOwn) {
    const auto image = icon();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (Size{17, 17}));
    ASSERT_EQ(image->drawings.size(), 1u);
    EXPECT_EQ(image->drawings[0].source->size(), (Size{1024, 1024}));
}

TEST_F(AppIconTest, WithoutTheFileTheNamedImageComesAtItsOwnSize) {
    desktop.shell.resourcesDirectory = folder.path();
    desktop.shell.images.namedImages["AppIcon"] = {32, 24};
    const auto image = icon();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->name(), "AppIcon");
    EXPECT_EQ(image->size(), (Size{32, 24}));
    EXPECT_TRUE(image->drawings.empty());
}

TEST_F(AppIconTest, AnUnreadableFileFallsBackToTheNamedImage) {
    folder.write("AppIcon.png", std::string("\x89PNG\r\n\x1a\n", 8) + "truncated");
    desktop.shell.resourcesDirectory = folder.path();
    EXPECT_EQ(icon(), nullptr);
    desktop.shell.images.namedImages["AppIcon"] = {64, 64};
    ASSERT_TRUE(icon());
    EXPECT_EQ(icon()->size(), (Size{64, 64}));
}

TEST_F(AppIconTest, NoIconAtAll) {
    desktop.shell.resourcesDirectory.reset();
    EXPECT_EQ(icon(), nullptr);
}

TEST_F(AppIconTest, ResizedKeepsTheSourceAndMakesANewImage) {
    ASSERT_TRUE(sim::writePng(folder.file("tall.png"), 3, 700));
    const auto tall = platform::images().contentsOfFile(folder.file("tall.png"));
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->size(), (Size{3, 700}));
    const auto result = std::dynamic_pointer_cast<sim::SimImage>(resized(tall, {40.5, 10}));
    EXPECT_EQ(result->size(), (Size{40.5, 10}));
    EXPECT_EQ(result->drawings.at(0).from, (Rect{0, 0, 3, 700}));
    EXPECT_EQ(result->drawings.at(0).into, (Rect{0, 0, 40.5, 10}));
    EXPECT_EQ(tall->size(), (Size{3, 700}));
}

}  // namespace
