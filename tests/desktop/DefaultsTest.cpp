#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "desktop/TrayToolkit.h"
#include "platform/desktop/DesktopDefaults.h"

namespace {

// The toolkit's fixture installs a simulated desktop, so a test reads what the store logs.
class DefaultsTest : public TrayToolkit {
protected:
    ~DefaultsTest() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& bytes) {
        std::filesystem::create_directories(folder_);
        std::ofstream(path_, std::ios::binary) << bytes;
        return path_;
    }
    static std::string read(const std::string& path) {
        std::ostringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }

    std::string folder_ =
        (std::filesystem::temp_directory_path() / ("veltrin-defaults-" + std::to_string(getpid())))
            .string();
    std::string path_ = folder_ + "/veltrin.ini";
};

constexpr const char* corrupt = "[General\nappLanguage=en\nborderColorHex=3DB6A6\n";

TEST_F(DefaultsTest, CorruptFileReadsAsDefaultsAndStaysUntouchedWhileOnlyRead) {
    {
        desktop::DesktopDefaults defaults(write(corrupt));
        EXPECT_EQ(defaults.stringForKey("appLanguage"), std::nullopt);
        EXPECT_EQ(defaults.integerForKey("hotkeyKeyCode"), 0);
        defaults.removeObject("hotkeyModifiers");  // as the launch does: nothing to remove
    }
    EXPECT_EQ(read(path_), corrupt);
    EXPECT_FALSE(std::filesystem::exists(path_ + ".corrupt"));
}

TEST_F(DefaultsTest, FirstChangeToACorruptFileKeepsItAsideAndWritesAFreshOne) {
    {
        desktop::DesktopDefaults defaults(write(corrupt));
        defaults.setString("en", "appLanguage");
        EXPECT_EQ(defaults.stringForKey("appLanguage"), "en");
        EXPECT_EQ(defaults.stringForKey("borderColorHex"), std::nullopt);
    }
    EXPECT_EQ(read(path_ + ".corrupt"), corrupt);
    desktop::DesktopDefaults reopened(path_);
    EXPECT_EQ(reopened.stringForKey("appLanguage"), "en");
    EXPECT_EQ(reopened.stringForKey("borderColorHex"), std::nullopt);
}

// A file that only a hand or a fault could have made so large is never read into memory. The
// launch removes the shortcut's keys when none reads back: that leaves the file in place.
TEST_F(DefaultsTest, OversizedFileIsNotReadAndIsMovedAsideWholeAtTheFirstChange) {
    std::string huge = "[General]\nappLanguage=en\n";
    huge.resize(desktop::DesktopDefaults::largestFile + 1, '#');
    {
        desktop::DesktopDefaults defaults(write(huge));
        EXPECT_EQ(defaults.stringForKey("appLanguage"), std::nullopt);
        EXPECT_EQ(defaults.integerForKey("hotkeyKeyCode"), 0);
        defaults.removeObject("hotkeyKeyCode");
        defaults.removeObject("hotkeyModifiers");
        EXPECT_EQ(read(path_), huge);
        EXPECT_FALSE(std::filesystem::exists(path_ + ".too-large"));
        const std::string said = log();
        const size_t stamped = said.find("] ");
        ASSERT_NE(stamped, std::string::npos);
        EXPECT_EQ(said.substr(stamped + 2), "defaults: " + path_ +
                                                " is 1048577 bytes, more than the 1048576 read; "
                                                "using the defaults until a setting changes\n");
        defaults.setString("pl", "appLanguage");
        EXPECT_EQ(defaults.stringForKey("appLanguage"), "pl");
    }
    EXPECT_EQ(read(path_ + ".too-large"), huge);
    EXPECT_EQ(desktop::DesktopDefaults(path_).stringForKey("appLanguage"), "pl");
    huge.resize(desktop::DesktopDefaults::largestFile, '#');  // at the limit: read as usual
    EXPECT_EQ(desktop::DesktopDefaults(write(huge)).stringForKey("appLanguage"), "en");
}

}  // namespace
