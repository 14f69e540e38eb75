#include "app/Outfit.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "platform/Platform.h"
#include "support/ShellFixture.h"

namespace {

using platform::Font;
using ::testing::ElementsAre;

class OutfitTest : public ShellFixture {
protected:
    Font semiboldSystem(double size) {
        return platform::fonts().systemFont(size, platform::FontWeight::semibold);
    }
};

TEST_F(OutfitTest, RegisteredFontsAnswerByTheirPostScriptNames) {
    registerOutfitFonts();
    EXPECT_EQ(outfit("Black", 20), (Font{"Outfit-Black", 20, 900, false}));
    EXPECT_EQ(outfit("Regular", 11), (Font{"Outfit-Regular", 11, 400, false}));
    EXPECT_EQ(outfit("SemiBold", 13), (Font{"Outfit-SemiBold", 13, 600, false}));
    EXPECT_EQ(outfit("Bold", 12.5), (Font{"Outfit-Bold", 12.5, 700, false}));
    EXPECT_THAT(desktop.shell.fonts.registeredNames(ownPid),
                ElementsAre("Outfit-Black", "Outfit-Bold", "Outfit-Regular", "Outfit-SemiBold"));
}

TEST_F(OutfitTest, WithoutFontsEveryWeightIsTheSemiboldSystemFont) {
    EXPECT_EQ(outfit("Regular", 11), semiboldSystem(11));
    EXPECT_EQ(outfit("Black", 20), semiboldSystem(20));
    EXPECT_TRUE(outfit("Regular", 11).system);
    EXPECT_EQ(outfit("Regular", 11).weight, platform::FontWeight::semibold);
}

TEST_F(OutfitTest, WeightWordsAreTakenAsWritten) {
    registerOutfitFonts();
    EXPECT_EQ(outfit("black", 20), semiboldSystem(20));
    EXPECT_EQ(outfit("Semibold", 20), semiboldSystem(20));
    EXPECT_EQ(outfit("Light", 9), semiboldSystem(9));
    EXPECT_EQ(outfit("", 9), semiboldSystem(9));
}

TEST_F(OutfitTest, NoResourcesRegisterNothing) {
    desktop.shell.resourcesDirectory.reset();
    registerOutfitFonts();
    ScratchFolder empty;
    desktop.shell.resourcesDirectory = empty.path();  // no Fonts folder in it
    registerOutfitFonts();
    EXPECT_TRUE(desktop.shell.fonts.registeredNames(ownPid).empty());
}

// A broken file is skipped and the others still register; other extensions are not looked at.
TEST_F(OutfitTest, AFileThatFailsIsSkipped) {
    ScratchFolder folder;
    folder.write("Fonts/Broken.ttf", "not a font at all");
    std::filesystem::copy_file(std::string(VELTRIN_RESOURCES_DIR) + "/Fonts/Outfit-Bold.ttf",
                               folder.file("Fonts/Outfit-Bold.ttf"));
    std::filesystem::copy_file(std::string(VELTRIN_RESOURCES_DIR) + "/Fonts/Outfit-Black.ttf",
                               folder.file("Fonts/Outfit-Black.otf"));
    desktop.shell.resourcesDirectory = folder.path();
    registerOutfitFonts();
    EXPECT_THAT(desktop.shell.fonts.registeredNames(ownPid), ElementsAre("Outfit-Bold"));
    EXPECT_EQ(outfit("Black", 20), semiboldSystem(20));
}

// Process scope: another copy of the program sees only what it registered itself.
TEST_F(OutfitTest, FontsBelongToTheProcessThatRegisteredThem) {
    registerOutfitFonts();
    desktop.startProgramCopy(ownPid + 1);
    EXPECT_EQ(outfit("Black", 20), semiboldSystem(20));
}

}  // namespace
