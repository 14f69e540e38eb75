#include <gtest/gtest.h>

#include <QFont>
#include <QImage>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Log.h"
#include "desktop/ChildProcess.h"
#include "desktop/HeadlessDesktop.h"
#include "desktop/TrayFixture.h"
#include "desktop/TrayToolkit.h"
#include "platform/desktop/DesktopBundle.h"
#include "platform/desktop/DesktopFonts.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string readFrom(const std::string& path, uintmax_t offset = 0) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(offset));
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

uintmax_t sizeOf(const std::string& path) {
    std::error_code missing;
    const uintmax_t size = fs::file_size(path, missing);
    return missing ? 0 : size;
}

void writeScript(const std::string& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
}

// `cmake --install` of this build into a scratch prefix, and what else a test runs there.
class InstallTest : public TrayToolkit {
protected:
    ~InstallTest() override { fs::remove_all(scratch_); }

    // Runs a shell command; its output goes to a file that failures show.
    bool run(const std::string& command) {
        const std::string output = scratch_ + "/output.txt";
        fs::create_directories(scratch_);
        const int status = std::system((command + " >" + output + " 2>&1").c_str());
        lastOutput_ = readFrom(output);
        return status == 0;
    }
    void install() {
        ASSERT_TRUE(run("cmake --install " VELTRIN_BUILD_DIR " --prefix " + prefix_))
            << lastOutput_;
    }
    bool installed(const std::string& path) { return fs::is_regular_file(prefix_ + "/" + path); }

    std::string scratch_ =
        (fs::temp_directory_path() / ("veltrin-install-" + std::to_string(getpid()))).string();
    std::string prefix_ = scratch_ + "/prefix";
    std::string lastOutput_;
};

TEST_F(InstallTest, PutsProgramResourcesEntryIconAndLicenceInTheirPlaces) {
    install();
    for (const char* path :
         {"bin/veltrin", "share/veltrin/AppIcon.png", "share/veltrin/Fonts/Outfit-SemiBold.ttf",
          "share/veltrin/Symbols/pin.png", "share/applications/veltrin.desktop",
          "share/icons/hicolor/48x48/apps/veltrin.png",
          "share/icons/hicolor/256x256/apps/veltrin.png", "share/doc/veltrin/OFL.txt",
          "share/metainfo/org.veltrin.veltrin.metainfo.xml"})
        EXPECT_TRUE(installed(path)) << path;
    EXPECT_TRUE(run("desktop-file-validate " + prefix_ + "/share/applications/veltrin.desktop"))
        << lastOutput_;
    // Software centres list it: the metainfo file, with the desktop entry and icon it names.
    EXPECT_TRUE(run("appstreamcli validate-tree --no-net --pedantic " + prefix_)) << lastOutput_;
    // KWin trusts the program whose path is exactly the entry's Exec=.
    const std::string entry = readFrom(prefix_ + "/share/applications/veltrin.desktop");
    EXPECT_NE(entry.find("\nExec=" + prefix_ + "/bin/veltrin\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nX-KDE-Wayland-Interfaces=org_kde_plasma_window_management,"
                         "zkde_screencast_unstable_v1\n"),
              std::string::npos)
        << entry;
    const QImage icon(
        QString::fromStdString(prefix_ + "/share/icons/hicolor/48x48/apps/veltrin.png"));
    EXPECT_EQ(icon.size(), QSize(48, 48));  // the theme's folder names the size
}

TEST_F(InstallTest, InstalledFontsAreKnownByTheirPostScriptNamesAndWeights) {
    install();
    desktop::DesktopBundle bundle(prefix_ + "/share/veltrin");
    desktop::DesktopFonts fonts;
    const auto urls = bundle.urlsForResources("ttf", "Fonts");
    ASSERT_TRUE(urls);
    ASSERT_EQ(urls->size(), 4u);
    for (const auto& url : *urls)
        EXPECT_TRUE(fonts.registerFontsForURL(url, platform::Fonts::processScope)) << url;
    const std::pair<const char*, int> expected[] = {{"Outfit-Regular", 400},
                                                    {"Outfit-SemiBold", 600},
                                                    {"Outfit-Bold", 700},
                                                    {"Outfit-Black", 900}};
    for (const auto& [name, weight] : expected) {
        const auto font = fonts.fontWithName(name, 20);
        ASSERT_TRUE(font) << name;
        EXPECT_EQ(font->weight, weight) << name;
        EXPECT_EQ(fonts.toolkitFont(*font).family(), "Outfit") << name;
    }
    EXPECT_FALSE(fonts.fontWithName("Outfit-Medium", 20));
}

TEST_F(InstallTest, AFontFileThatIsNotAFontIsNamedAndSkipped) {
    fs::create_directories(scratch_);
    const std::string broken = scratch_ + "/Outfit-Broken.ttf";
    std::ofstream(broken) << "not a font";
    desktop::DesktopFonts fonts;
    EXPECT_FALSE(fonts.registerFontsForURL(broken, platform::Fonts::processScope));
    EXPECT_FALSE(fonts.fontWithName("Outfit-Broken", 12));
    EXPECT_NE(log().find("fonts: cannot register " + broken), std::string::npos) << log();
}

TEST_F(InstallTest, InstalledProgramFindsItsResourcesUnderItsPrefix) {
    install();
    HeadlessDesktop desktop;
    desktop.startTray();
    fs::create_directories(scratch_ + "/home/runtime");
    fs::permissions(scratch_ + "/home/runtime", fs::perms::owner_all);
    const uintmax_t logStart = sizeOf(logPath);
    ChildProcess::Spec spec;
    spec.arguments = {prefix_ + "/bin/veltrin"};
    spec.environment = {{"DISPLAY", desktop.display()},
                        {"HOME", scratch_ + "/home"},
                        {"XDG_CONFIG_HOME", scratch_ + "/home/config"},
                        {"XDG_RUNTIME_DIR", scratch_ + "/home/runtime"}};
    ChildProcess veltrin(spec);
    const auto ownLog = [&] { return readFrom(logPath, logStart); };
    const std::string found = "bundle: resources in " + prefix_ + "/share/veltrin";
    EXPECT_TRUE(XDriver::waitUntil([&] { return ownLog().find(found) != std::string::npos; }, 30s))
        << ownLog();
    EXPECT_TRUE(
        XDriver::waitUntil([&] { return trayIconOf(desktop.x(), veltrin.pid()).has_value(); }, 10s))
        << ownLog();
    EXPECT_EQ(ownLog().find("fonts: cannot register"), std::string::npos) << ownLog();
    EXPECT_EQ(ownLog().find("images:"), std::string::npos) << ownLog();
    veltrin.stop();
}

TEST_F(InstallTest, DebianPackageNamesItsRunTimeDependencies) {
    ASSERT_TRUE(run("cpack -G DEB --config " VELTRIN_BUILD_DIR "/CPackConfig.cmake -B " + scratch_ +
                    "/package"))
        << lastOutput_;
    std::string package;
    for (const auto& entry : fs::directory_iterator(scratch_ + "/package"))
        if (entry.path().extension() == ".deb") package = entry.path().string();
    ASSERT_FALSE(package.empty()) << lastOutput_;
    ASSERT_TRUE(run("dpkg-deb -f " + package + " Depends")) << lastOutput_;
    const std::string depends = lastOutput_;
    // The platform plugins are loaded, not linked: without them the program cannot start.
    for (const char* library :
         {"libqt6widgets6", "libqt6gui6", "libxcb1", "libxcb-composite0", "qt6-qpa-plugins"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
    ASSERT_TRUE(run("dpkg-deb -c " + package)) << lastOutput_;
    for (const char* path : {"./usr/bin/veltrin", "./usr/share/applications/veltrin.desktop",
                             "./usr/share/veltrin/Fonts/Outfit-Black.ttf",
                             "./usr/share/icons/hicolor/128x128/apps/veltrin.png",
                             "./usr/share/metainfo/org.veltrin.veltrin.metainfo.xml"})
        EXPECT_NE(lastOutput_.find(path), std::string::npos) << path;
    // The program ships without symbols and debugging information.
    const std::string unpacked = scratch_ + "/unpacked";
    ASSERT_TRUE(run("dpkg-deb -x " + package + " " + unpacked)) << lastOutput_;
    ASSERT_TRUE(run("readelf -S " + unpacked + "/usr/bin/veltrin")) << lastOutput_;
    EXPECT_EQ(lastOutput_.find(".debug_info"), std::string::npos) << lastOutput_;
    EXPECT_EQ(lastOutput_.find(".symtab"), std::string::npos) << lastOutput_;
}

// The scripts' installer as a user who is not root, with sudo, apt-get and dpkg-query stood in
// for by scripts that write down how they were called. cmake is installed, xvfb is missing,
// and the first update finds the package lists locked by another package manager.
TEST_F(InstallTest, AUserInstallsWhatIsMissingThroughSudoAndWaitsForThePackageManager) {
    const std::string bin = scratch_ + "/bin";
    const std::string shared = scratch_ + "/shared";  // the user writes here
    fs::create_directories(bin);
    fs::create_directories(shared);
    fs::permissions(shared, fs::perms::all);
    const std::string calls = shared + "/calls.txt";
    writeScript(bin + "/dpkg-query", "[ \"$3\" = cmake ] && echo 'install ok installed'\n");
    writeScript(bin + "/sudo", "echo \"sudo $*\" >>" + calls + "\nexec \"$@\"\n");
    writeScript(bin + "/apt-get", "echo \"apt-get $*\" >>" + calls + "\n" +
                                      "case \"$*\" in *update*) [ -e " + shared +
                                      "/locked ] && exit 0\n  touch " + shared +
                                      "/locked\n  echo 'E: Could not get lock "
                                      "/var/lib/apt/lists/lock' >&2; exit 100;; esac\n");
    // Root becomes nobody for it; a test run by a user is that user already.
    const std::string asUser =
        getuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const auto install = [&](const std::string& packages) {
        return run(asUser + "env PATH=" + bin + ":$PATH VELTRIN_APT_RETRY_SECONDS=0 bash -c " +
                   "'set -euo pipefail; . " VELTRIN_SOURCE_DIR "/scripts/deps.sh; " +
                   "veltrin_install \"(for a test)\" " + packages + "'");
    };
    ASSERT_TRUE(install("cmake xvfb")) << lastOutput_;
    EXPECT_NE(lastOutput_.find("installing (for a test): xvfb"), std::string::npos) << lastOutput_;
    EXPECT_NE(lastOutput_.find("needs root: sudo"), std::string::npos) << lastOutput_;
    const std::string apt = "env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=";
    const std::string update = "update -q\n";
    const std::string add = "install -y -q --no-install-recommends xvfb\n";
    std::string expected;
    for (const std::string& call : {update, update, add})
        expected += "sudo " + apt + "900 " + call + "apt-get -o DPkg::Lock::Timeout=900 " + call;
    EXPECT_EQ(readFrom(calls), expected);
    // Nothing missing: nothing asked of anyone.
    ASSERT_TRUE(install("cmake")) << lastOutput_;
    EXPECT_EQ(readFrom(calls), expected);
}

// Files that `sudo scripts/test` made in a user's tree are the user's again once it ends.
TEST_F(InstallTest, FilesMadeByRootInAUsersTreeGoBackToTheUser) {
    if (getuid() != 0) GTEST_SKIP() << "needs root";
    const std::string tree = scratch_ + "/tree";
    fs::create_directories(tree + "/build/test");
    std::ofstream(tree + "/build/test/made-by-root.o") << "x";
    ASSERT_EQ(chown(tree.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(run("VELTRIN_ROOT=" + tree +
                    " bash -c '. " VELTRIN_SOURCE_DIR "/scripts/deps.sh; veltrin_give_back'"))
        << lastOutput_;
    for (const std::string path : {"/build", "/build/test", "/build/test/made-by-root.o"}) {
        struct stat status {};
        ASSERT_EQ(stat((tree + path).c_str(), &status), 0) << path;
        EXPECT_EQ(status.st_uid, 65534u) << path;
    }
}

}  // namespace
