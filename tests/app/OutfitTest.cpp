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

// Registered fonts answer by their PostScript names; weight words are taken as written.
TEST_F(OutfitTest, RegisteredFontsAnswerByTheirPostScriptNames) {
    registerOutfitFonts();
    EXPECT_EQ(outfit("Black", 20), (Font{"Outfit-Black", 20, 900, false}));
    EXPECT_EQ(outfit("Regular", 11), (Font{"Outfit-Regular", 11, 400, false}));
    EXPECT_EQ(outfit("SemiBold", 13), (Font{"Outfit-SemiBold", 13, 600, false}));
    EXPECT_EQ(outfit("Bold", 12.5), (Font{"Outfit-Bold", 12.5, 700, false}));
    EXPECT_THAT(desktop.shell.fonts.registeredNames(ownPid),
                ElementsAre("Outfit-Black", "Outfit-Bold", "Outfit-Regular", "Outfit-SemiBold"));
    for (const char* weight : {"black", "Semibold", "Light", ""})
        EXPECT_EQ(outfit(weight, 9), semiboldSystem(9)) << weight;
}

TEST_F(OutfitTest, WithoutFontsEveryWeightIsTheSemiboldSystemFont) {
    EXPECT_EQ(outfit("Regular", 11), semiboldSystem(11));
    EXPECT_EQ(outfit("Black", 20), semiboldSystem(20));
    EXPECT_TRUE(outfit("Regular", 11).system);
    // Process scope: another copy of the program sees only what it registered itself.
    registerOutfitFonts();
    desktop.startProgramCopy(ownPid + 1);
    EXPECT_EQ(outfit("Black", 20), semiboldSystem(20));
}

// Nothing without resources or a Fonts folder; a broken file is skipped and the others still
// register; other extensions are not looked at.
TEST_F(OutfitTest, OnlyReadableTrueTypeFilesRegister) {
    desktop.shell.resourcesDirectory.reset();
    registerOutfitFonts();
    EXPECT_TRUE(desktop.shell.fonts.registeredNames(ownPid).empty());
    ScratchFolder folder;
    desktop.shell.resourcesDirectory = folder.path();
    registerOutfitFonts();
    EXPECT_TRUE(desktop.shell.fonts.registeredNames(ownPid).empty());
    folder.write("Fonts/Broken.ttf", "not a font at all");
    const std::string fonts = std::string(VELTRIN_RESOURCES_DIR) + "/Fonts/";
    std::filesystem::copy_file(fonts + "Outfit-Bold.ttf", folder.file("Fonts/Outfit-Bold.ttf"));
    std::filesystem::copy_file(fonts + "Outfit-Black.ttf", folder.file("Fonts/Outfit-Black.otf"));
    registerOutfitFonts();
    EXPECT_THAT(desktop.shell.fonts.registeredNames(ownPid), ElementsAre("Outfit-Bold"));
    EXPECT_EQ(outfit("Black", 20), semiboldSystem(20));
}

}  // namespace
