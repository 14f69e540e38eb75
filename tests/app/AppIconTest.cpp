#include <gmock/gmock.h>

#include "app/AppDelegate.h"
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
TEST_F(AppIconTest, APngIsStretchedToTheMenuBarSquare) {
    ASSERT_TRUE(icon());
    EXPECT_EQ(icon()->drawings.at(0).source->size(), (Size{1024, 1024}));  // the shipped one
    ASSERT_TRUE(sim::writePng(folder.file("AppIcon.png"), 1024, 512));
    desktop.shell.resourcesDirectory = folder.path();
    const auto image = icon();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (Size{17, 17}));
    EXPECT_FALSE(image->isTemplate());
    ASSERT_EQ(image->drawings.size(), 1u);
    const auto& drawn = image->drawings[0];
    EXPECT_EQ(drawn.source->size(), (Size{1024, 512}));  // the source itself is left as it was
    EXPECT_EQ(drawn.from, (Rect{0, 0, 1024, 512}));
    EXPECT_EQ(drawn.into, (Rect{0, 0, 17, 17}));
    EXPECT_EQ(drawn.operation, platform::CompositingOperation::sourceOver);
    EXPECT_EQ(drawn.fraction, 1.0);
}

// Missing or unreadable file: the named image at its own size, or nothing at all.
TEST_F(AppIconTest, WithoutAUsableFileTheNamedImageComesAtItsOwnSize) {
    desktop.shell.resourcesDirectory = folder.path();
    desktop.shell.images.namedImages["AppIcon"] = {32, 24};
    ASSERT_TRUE(icon());
    EXPECT_EQ(icon()->name(), "AppIcon");
    EXPECT_EQ(icon()->size(), (Size{32, 24}));
    EXPECT_TRUE(icon()->drawings.empty());
    folder.write("AppIcon.png", std::string("\x89PNG\r\n\x1a\n", 8) + "truncated");
    ASSERT_TRUE(icon());
    EXPECT_EQ(icon()->size(), (Size{32, 24}));
    desktop.shell.images.namedImages.clear();
    EXPECT_EQ(icon(), nullptr);
    desktop.shell.resourcesDirectory.reset();
    EXPECT_EQ(icon(), nullptr);
}

}  // namespace
