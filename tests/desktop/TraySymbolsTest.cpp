#include <gtest/gtest.h>

#include <QDir>
#include <QIcon>

#include <filesystem>
#include <fstream>

#include "desktop/TrayToolkit.h"
#include "platform/desktop/DesktopBundle.h"
#include "platform/desktop/DesktopImage.h"
#include "platform/desktop/DesktopImages.h"

namespace {

const char* const symbolNames[] = {"pin",           "pin.slash", "accessibility",
                                   "record.circle", "gearshape", "power"};

class TraySymbolsTest : public TrayToolkit {
protected:
    TraySymbolsTest() { QIcon::setThemeSearchPaths({"/usr/share/icons"}); }
    ~TraySymbolsTest() override {
        QIcon::setThemeName({});
        std::filesystem::remove_all(scratch_);
    }

    const desktop::DesktopImage* symbol(desktop::DesktopImages& images, const char* name) {
        kept_ = images.systemSymbol(name, std::nullopt);
        return dynamic_cast<const desktop::DesktopImage*>(kept_.get());
    }

    // A resources folder holding only the given symbol files, with the given bytes.
    std::string resources(const std::map<std::string, std::string>& files) {
        std::filesystem::create_directories(scratch_ + "/Symbols");
        for (const auto& [name, bytes] : files)
            std::ofstream(scratch_ + "/Symbols/" + name, std::ios::binary) << bytes;
        return scratch_;
    }

    desktop::DesktopBundle shipped{desktop::DesktopBundle::locateResources()};
    std::string scratch_ =
        (std::filesystem::temp_directory_path() / ("veltrin-symbols-" + std::to_string(getpid())))
            .string();
    std::shared_ptr<platform::Image> kept_;
};

// Only its shape counts: every pixel is black, and some are opaque.
bool isMask(const QImage& image) {
    bool opaque = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.alpha() > 0 && colour.black() < 250) return false;
            opaque = opaque || colour.alpha() == 255;
        }
    return opaque;
}

// Same alpha, and the colour wherever the shape is solid.
bool tintedShape(const QImage& mask, const QImage& tinted, const QColor& colour) {
    if (mask.size() != tinted.size()) return false;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            const QColor shape = mask.pixelColor(x, y);
            const QColor drawn = tinted.pixelColor(x, y);
            if (std::abs(shape.alpha() - drawn.alpha()) > 1) return false;
            if (shape.alpha() == 255 && drawn.rgb() != colour.rgb()) return false;
        }
    return true;
}

TEST_F(TraySymbolsTest, WithoutAnIconThemeAllSixAreOurOwnMasks) {
    QIcon::setThemeName("hicolor");
    desktop::DesktopImages images(shipped);
    for (const char* name : symbolNames) {
        const auto* image = symbol(images, name);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_FALSE(image->themed()) << name;
        EXPECT_EQ(image->size(), (platform::Size{16, 16})) << name;
        EXPECT_TRUE(isMask(image->image())) << name;
        // Drawn as a template, in the colour of the text around it.
        kept_->setTemplate(true);
        const QImage tinted = image->icon(Qt::red).pixmap(QSize(32, 32), 1.0).toImage();
        EXPECT_TRUE(tintedShape(image->image(), tinted, Qt::red)) << name;
    }
    EXPECT_EQ(images.systemSymbol("star.fill", std::nullopt), nullptr);
    EXPECT_EQ(log().find("images:"), std::string::npos) << log();
}

TEST_F(TraySymbolsTest, TheDesktopsIconThemeGivesTheSymbolsItHas) {
    if (!QDir("/usr/share/icons/Adwaita").exists()) GTEST_SKIP() << "no Adwaita icon theme";
    QIcon::setThemeName("Adwaita");
    desktop::DesktopImages images(shipped);
    for (const char* name : {"accessibility", "record.circle", "gearshape", "power"}) {
        const auto* image = symbol(images, name);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_TRUE(image->themed()) << name;
        EXPECT_EQ(image->size(), (platform::Size{16, 16})) << name;
    }
    // No freedesktop icon means a pin: ours, whatever the theme.
    for (const char* name : {"pin", "pin.slash"})
        EXPECT_FALSE(symbol(images, name)->themed()) << name;
}

TEST_F(TraySymbolsTest, MissingOrUnreadableFilesAreNamedOnceAndLeaveTheItemWithoutImage) {
    QIcon::setThemeName("hicolor");
    desktop::DesktopBundle bundle(resources({{"pin.png", "not a picture"}}));
    desktop::DesktopImages images(bundle);
    EXPECT_EQ(images.systemSymbol("pin", std::nullopt), nullptr);
    EXPECT_EQ(images.systemSymbol("gearshape", std::nullopt), nullptr);
    EXPECT_EQ(images.systemSymbol("gearshape", std::nullopt), nullptr);
    const std::string logged = log();
    EXPECT_NE(logged.find("cannot read symbol file " + scratch_ + "/Symbols/pin.png"),
              std::string::npos)
        << logged;
    const std::string missing = "symbol file Symbols/gearshape.png is missing";
    ASSERT_NE(logged.find(missing), std::string::npos) << logged;
    EXPECT_EQ(logged.find(missing, logged.find(missing) + 1), std::string::npos) << logged;
}

}  // namespace
