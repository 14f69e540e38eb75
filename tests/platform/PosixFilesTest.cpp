#include "platform/posix/PosixFiles.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

class PosixFilesTest : public ::testing::Test {
protected:
    PosixFilesTest() {
        dir = fs::temp_directory_path() /
              ("veltrin-files-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "vorin.log").string();
    }
    ~PosixFilesTest() override { fs::remove_all(dir); }

    static std::string contents(const fs::path& file) {
        std::ostringstream text;
        text << std::ifstream(file, std::ios::binary).rdbuf();
        return text.str();
    }

    fs::path dir;
    std::string path;
    platform::PosixFiles files;
};

TEST_F(PosixFilesTest, CreatesTheFileOwnerOnlyThenAppendsAfterExistingBytesAsTheyAre) {
    files.appendRecord(path, "one\n");
    files.appendRecord(path, "two\n");
    EXPECT_EQ(contents(path), "one\ntwo\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const auto partial = (dir / "partial.log").string();
    std::ofstream(partial) << "partial line";
    files.appendRecord(partial, "[x] next\n");  // no separator added
    EXPECT_EQ(contents(partial), "partial line[x] next\n");
}

TEST_F(PosixFilesTest, NeverFollowsASymbolicLinkPlantedAtThePath) {
    const fs::path target = dir / "victim";
    std::ofstream(target) << "precious";
    fs::create_symlink(target, path);
    files.appendRecord(path, "record\n");
    EXPECT_EQ(contents(target), "precious");
    fs::remove(target);  // a dangling link must not be created through either
    files.appendRecord(path, "record\n");
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(PosixFilesTest, NeverWritesThroughAHardLinkPlantedAtThePath) {
    const fs::path target = dir / "victim";
    std::ofstream(target) << "precious";
    fs::create_hard_link(target, path);
    files.appendRecord(path, "record\n");
    EXPECT_EQ(contents(target), "precious");
    fs::remove(target);  // once the path is the file's only name, it is the log's own
    files.appendRecord(path, "record\n");
    EXPECT_EQ(contents(path), "preciousrecord\n");
}

TEST_F(PosixFilesTest, DoesNotHangOnAPipePlantedAtThePath) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    files.appendRecord(path, "record\n");  // the record is lost, the caller goes on
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(fs::is_fifo(path));
}

// Lowers the file-size limit of this process for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

// Over the limit the record is lost, never the program; a record cut at the limit ends
// its line before the next record once there is room again.
TEST_F(PosixFilesTest, AFileSizeLimitLosesRecordsAndACutRecordNeverGluesToTheNext) {
    {
        const FileSizeLimit limit(15);
        files.appendRecord(path, "first record\n");
        files.appendRecord(path, "second record\n");  // cut after two bytes
        files.appendRecord(path, "third\n");          // nothing fits
    }
    files.appendRecord(path, "fourth\n");
    files.appendRecord(path, "fifth\n");
    EXPECT_EQ(contents(path), "first record\nse\nfourth\nfifth\n");
}

TEST_F(PosixFilesTest, AnotherUsersFileAtThePathIsLeftAlone) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    std::ofstream(path) << "theirs\n";
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    files.appendRecord(path, "record\n");
    EXPECT_EQ(contents(path), "theirs\n");
}

TEST_F(PosixFilesTest, TwoWritersNeverInterleaveInsideARecord) {
    constexpr int perWriter = 2000;
    auto writer = [this](char mark) {
        const std::string record = std::string(200, mark) + "\n";
        for (int i = 0; i < perWriter; ++i)
            files.appendRecord(path, record);
    };
    {
        std::jthread a(writer, 'a'), b(writer, 'b');  // both joined at the brace
    }
    std::istringstream lines(contents(path));
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        ASSERT_EQ(line.size(), 200u);
        ASSERT_EQ(line.find_first_not_of(line[0]), std::string::npos) << "mixed line " << count;
    }
    EXPECT_EQ(count, 2 * perWriter);
}

}  // namespace
