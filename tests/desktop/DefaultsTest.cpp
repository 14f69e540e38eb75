#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/desktop/DesktopDefaults.h"

namespace {

class DefaultsTest : public testing::Test {
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
    }
    EXPECT_EQ(read(path_), corrupt);
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

}  // namespace
