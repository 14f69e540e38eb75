#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "desktop/TrayToolkit.h"
#include "desktop/XDriver.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t teal = 0x3DB6A6;
constexpr uint32_t clientBlue = 0x3366CC;  // the script's test window

// The script run on this build into a scratch folder; each picture is checked for what its
// name claims, by its pixels.
class ScreenshotTest : public TrayToolkit {
protected:
    static void SetUpTestSuite() {
        TrayToolkit::SetUpTestSuite();
        folder_ =
            (fs::temp_directory_path() / ("veltrin-shots-" + std::to_string(getpid()))).string();
        const std::string command = "VELTRIN_BUILD_DIR=" VELTRIN_BUILD_DIR " " VELTRIN_SOURCE_DIR
                                    "/scripts/screenshots " +
                                    folder_ + " >" + folder_ + ".log 2>&1";
        status_ = std::system(command.c_str());
        std::ifstream log(folder_ + ".log");
        log_.assign(std::istreambuf_iterator<char>(log), {});
    }
    static void TearDownTestSuite() {
        fs::remove_all(folder_);
        fs::remove(folder_ + ".log");
    }
    // The script's log goes with the suite, so a failure shows it here.
    void SetUp() override { ASSERT_EQ(status_, 0) << "the script said:\n" << log_; }

    static QImage picture(const std::string& name) {
        return QImage(QString::fromStdString(folder_ + "/" + name));
    }
    static uint32_t rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
    static bool light(uint32_t colour) {
        return (colour >> 16 & 0xFF) > 0xD0 && (colour >> 8 & 0xFF) > 0xD0 &&
               (colour & 0xFF) > 0xD0;
    }
    // How wide the light menu is along row y of the picture's right half.
    static int menuWidth(const QImage& image, int y) {
        int width = 0;
        for (int x = image.width() / 2; x < image.width(); ++x)
            width += light(rgb(image, x, y));
        return width;
    }

    static inline std::string folder_;
    static inline int status_ = -1;
    static inline std::string log_;
};

TEST_F(ScreenshotTest, TrayMenuIsOpenBelowTheIconAndReadsLongerInPolish) {
    const QImage polish = picture("tray-menu-pl.png");
    const QImage english = picture("tray-menu-en.png");
    ASSERT_FALSE(polish.isNull());
    ASSERT_FALSE(english.isNull());
    for (const QImage* image : {&polish, &english}) {
        EXPECT_GT(menuWidth(*image, 70), 150);  // the menu's body, under the tray
        EXPECT_EQ(menuWidth(*image, 300), 0);   // and nothing of it far below
    }
    // Same items, longer words: "Nagrywanie ekranu – Przydzielono" against "Screen Recording".
    EXPECT_GT(menuWidth(polish, 70), menuWidth(english, 70) + 20);
}

TEST_F(ScreenshotTest, SettingsWindowIsShownInTheMiddleAndItsTextsFollowTheLanguage) {
    const QImage polish = picture("settings-pl.png");
    const QImage english = picture("settings-en.png");
    ASSERT_FALSE(polish.isNull());
    ASSERT_EQ(polish.size(), english.size());
    const int cx = polish.width() / 2;
    const int cy = polish.height() / 2;
    for (const QImage* image : {&polish, &english}) {
        const uint32_t middle = rgb(*image, cx, cy);
        EXPECT_NE(middle, 0u);  // the panel, not the empty desktop
        EXPECT_FALSE(XDriver::similar(middle, clientBlue, 24));
    }
    int differing = 0;
    for (int y = cy - 120; y < cy + 120; ++y)
        for (int x = cx - 200; x < cx + 200; ++x)
            differing += rgb(polish, x, y) != rgb(english, x, y);
    EXPECT_GT(differing, 300);  // the labels and buttons changed language
}

TEST_F(ScreenshotTest, PinnedWindowIsFramedInTeal) {
    const QImage image = picture("pinned-teal.png");
    ASSERT_FALSE(image.isNull());
    // Across the window's middle row: desktop, then the teal frame, then the window's blue.
    const int y = 120 + 130;
    int firstTeal = -1;
    int firstBlue = -1;
    for (int x = 0; x < image.width() / 2 && firstBlue < 0; ++x) {
        if (firstTeal < 0 && XDriver::similar(rgb(image, x, y), teal, 12)) firstTeal = x;
        if (XDriver::similar(rgb(image, x, y), clientBlue, 12)) firstBlue = x;
    }
    ASSERT_GE(firstTeal, 0);
    ASSERT_GT(firstBlue, firstTeal);
    EXPECT_LE(firstBlue - firstTeal, 12);  // a frame, not a filled area
}

}  // namespace
