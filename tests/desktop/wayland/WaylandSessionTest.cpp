#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <thread>

#include "desktop/VeltrinProcess.h"
#include "desktop/XDriver.h"
#include "desktop/wayland/HeadlessKWin.h"
#include "desktop/wayland/MediaSession.h"
#include "desktop/wayland/WaylandTestClient.h"
#include "platform/desktop/wayland/KWinTrust.h"
#include "platform/desktop/wayland/WaylandConnection.h"

namespace {

using namespace std::chrono_literals;

size_t count(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

std::map<std::string, std::string> pinTest(std::map<std::string, std::string> environment) {
    environment.insert_or_assign("QUELM_PIN_TEST", std::string(1, '1'));
    return environment;
}

// weston's headless backend in the session, listening on `socket`: a compositor without
// KWin's interfaces. False when it did not come up.
bool startWeston(MediaSession& session, const std::string& socket) {
    ChildProcess& weston = session.start(
        {"weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"});
    const std::string path = session.runtimeDirectory() + "/" + socket;
    for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(50ms);
    return weston.running() && std::filesystem::exists(path);
}

// A copy KWin does not trust gets neither the window list nor the capture: it says so, its
// permission items read not granted, its pin finds no front application, and it keeps
// running.
TEST(WaylandSessionTest, AnUntrustedCopyIsGrantedNothingAndKeepsRunning) {
    HeadlessKWin kwin;  // nobody trusted
    WaylandTestClient client(kwin.environment());
    VeltrinProcess veltrin(std::nullopt, pinTest(kwin.environment()));
    const auto line = veltrin.waitForLogLine("desktop: Wayland", 15s);
    ASSERT_TRUE(line) << veltrin.log();
    EXPECT_NE(line->find("the compositor lacks the window list"), std::string::npos) << *line;
    EXPECT_NE(line->find("the window capture"), std::string::npos) << *line;
    EXPECT_TRUE(veltrin.waitForLogLine("start: AXtrusted=false", 5s));
    EXPECT_TRUE(veltrin.waitForLogLine("toggleSELF: front=nownil", 10s)) << veltrin.log();
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(veltrin.running());
    EXPECT_EQ(count(veltrin.log(), "desktop: Wayland on \"" + kwin.socket() + "\""), 1u);
}

// The compositor going away ends the program with status 1 and one line in the log, also
// with a window pinned.
TEST(WaylandSessionTest, KWinEndingEndsTheProgramWithStatusOneAndOneLine) {
    HeadlessKWin kwin(1280, 800, {VELTRIN_BINARY});
    WaylandTestClient client(kwin.environment());
    VeltrinProcess veltrin(std::nullopt, pinTest(kwin.environment()));
    // The log is shared: this copy's pin is the one of this client.
    ASSERT_TRUE(veltrin.waitForLogLine("pin: pid=" + std::to_string(client.pid()), 15s))
        << veltrin.log();
    ASSERT_TRUE(veltrin.waitForLogLine("mirror: capture OK", 15s)) << veltrin.log();
    kwin.stop();
    EXPECT_EQ(veltrin.waitForExit(10s), 1) << veltrin.standardError();
    EXPECT_EQ(count(veltrin.log(), "wayland: connection to the compositor lost, quitting"), 1u)
        << veltrin.standardError();
}

// A compositor without KWin's interfaces (weston): one line naming what is missing, nothing
// granted, the pin fails the documented way, no crash.
TEST(WaylandSessionTest, ACompositorWithoutTheInterfacesNamesWhatIsMissing) {
    MediaSession session(false);
    const std::string socket = "veltrin-weston";
    ASSERT_TRUE(startWeston(session, socket)) << "weston did not start";
    VeltrinProcess veltrin(std::nullopt,
                           pinTest({{"WAYLAND_DISPLAY", socket},
                                    {"XDG_RUNTIME_DIR", session.runtimeDirectory()},
                                    {"DBUS_SESSION_BUS_ADDRESS", session.busAddress()}}));
    const auto line = veltrin.waitForLogLine("desktop: Wayland", 15s);
    ASSERT_TRUE(line) << veltrin.log() << veltrin.standardError();
    EXPECT_NE(line->find("the window list (org_kde_plasma_window_management), the window "
                         "capture (zkde_screencast_unstable_v1), the layer shell "
                         "(zwlr_layer_shell_v1)"),
              std::string::npos)
        << *line;
    EXPECT_TRUE(veltrin.waitForLogLine("start: AXtrusted=false", 5s));
    EXPECT_TRUE(veltrin.waitForLogLine("toggleSELF: front=nownil", 10s)) << veltrin.log();
    EXPECT_TRUE(veltrin.running());
}

// The bounds of what shows in the default frame colour; nothing while too little does.
std::optional<HeadlessKWin::Rect> frameOnScreen(HeadlessKWin& kwin) {
    const auto shot = kwin.capture({0, 0, 1280, 800});
    if (!shot) return std::nullopt;
    int left = shot->width, top = shot->height, right = -1, bottom = -1, seen = 0;
    for (int y = 0; y < shot->height; ++y)
        for (int x = 0; x < shot->width; ++x) {
            if (!XDriver::similar(shot->at(x, y), 0x66746A, 6)) continue;
            ++seen;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    if (seen < 400) return std::nullopt;
    return HeadlessKWin::Rect{left, top, right - left + 1, bottom - top + 1};
}

// The installed program, trusted only through the desktop entry it installed, pins the
// active window of a program nobody here wrote, frames it, follows its move, lets it go on a
// command from the shell and takes it again, and lets it go when it closes.
TEST(WaylandSessionTest, TheInstalledProgramPinsAForeignWaylandWindow) {
    const std::string prefix = std::filesystem::temp_directory_path().string() +
                               "/veltrin-wayland-install-" + std::to_string(::getpid());
    ASSERT_EQ(std::system(
                  ("cmake --install " VELTRIN_BUILD_DIR " --prefix " + prefix + " >/dev/null 2>&1")
                      .c_str()),
              0);
    HeadlessKWin kwin(1280, 800, {}, {prefix + "/share/applications/veltrin.desktop"});
    ChildProcess::Spec spec;
    spec.arguments = {"gtk3-widget-factory"};
    for (const auto& [name, value] : kwin.environment())
        spec.environment[name] = value;
    spec.environment["GDK_BACKEND"] = "wayland";
    spec.environment["DISPLAY"] = std::nullopt;
    ChildProcess factory(spec);
    ASSERT_TRUE(XDriver::waitUntil(
        [&] {
            const auto shot = kwin.capture({0, 0, 1280, 800});
            return shot && std::count(shot->pixels.begin(), shot->pixels.end(), 0u) <
                               long(shot->pixels.size()) * 9 / 10;
        },
        20s, 200ms))
        << "the widget factory did not show";

    ChildProcess::Spec installed;
    installed.arguments = {prefix + "/bin/veltrin"};
    installed.environment = spec.environment;
    installed.environment.erase("GDK_BACKEND");
    installed.environment["QUELM_PIN_TEST"] = "1";
    installed.environment["HOME"] = kwin.environment().at("XDG_RUNTIME_DIR");
    std::error_code noLogYet;
    const auto logStart = std::filesystem::file_size("/tmp/vorin.log", noLogYet);
    ChildProcess veltrin(installed);
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            std::ifstream log("/tmp/vorin.log");
            log.seekg(std::streamoff(noLogYet ? 0 : logStart));
            const std::string since{std::istreambuf_iterator<char>(log), {}};
            return since.find("pin: pid=" + std::to_string(factory.pid())) != std::string::npos &&
                   since.find("mirror: capture OK") != std::string::npos;
        },
        20s, 100ms));
    std::optional<HeadlessKWin::Rect> frame;
    ASSERT_TRUE(
        XDriver::waitUntil([&] { return (frame = frameOnScreen(kwin)).has_value(); }, 10s, 100ms))
        << "no frame in the default colour";

    // The frame lies 6 pixels around the window; the move goes towards the screen's middle.
    const int x = frame->x + 6 + (frame->x > 100 ? -60 : 60);
    const int y = frame->y + 6 + (frame->y > 100 ? -40 : 40);
    ASSERT_TRUE(kwin.moveWindow(factory.pid(), x, y));
    // The window is about as large as the screen: what shows of the frame past its edge is cut.
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            const auto moved = frameOnScreen(kwin);
            return moved && moved->x == x - 6 && moved->y == y - 6;
        },
        10s, 100ms))
        << "the frame did not follow the move to " << x << ", " << y;

    const std::map<std::string, std::string> shell = kwin.environment();
    EXPECT_EQ(VeltrinProcess::command("--toggle", shell).status, 0);
    EXPECT_TRUE(XDriver::waitUntil([&] { return !frameOnScreen(kwin); }, 10s, 100ms))
        << "still framed after --toggle";
    EXPECT_EQ(VeltrinProcess::command("--toggle", shell).status, 0);
    EXPECT_TRUE(XDriver::waitUntil([&] { return frameOnScreen(kwin).has_value(); }, 10s, 100ms))
        << "not framed again after a second --toggle";

    ASSERT_TRUE(kwin.closeWindows(factory.pid()));
    EXPECT_TRUE(XDriver::waitUntil([&] { return !frameOnScreen(kwin); }, 10s, 100ms))
        << "still framed after the window closed";
    veltrin.stop();
    factory.stop();
    std::error_code ignored;
    std::filesystem::remove_all(prefix, ignored);
}

}  // namespace

namespace {

// The entry that a permission item tells the user to save: a copy started from the path it
// names is trusted with both the window list and the capture.
TEST(WaylandSessionTest, TheEntryAPermissionItemAdvisesMakesKWinTrustTheProgram) {
    const std::string entry = std::filesystem::temp_directory_path().string() +
                              "/veltrin-advised-" + std::to_string(::getpid()) + ".desktop";
    const platform::PermissionRemedy remedy = desktop::kwinTrustRemedy(VELTRIN_BINARY);
    std::ofstream(entry) << remedy.entry;
    HeadlessKWin kwin(1280, 800, {}, {entry});
    std::filesystem::remove(entry);
    EXPECT_EQ(remedy.program, VELTRIN_BINARY);
    EXPECT_TRUE(remedy.refresh == "kbuildsycoca5" || remedy.refresh == "kbuildsycoca6");
    VeltrinProcess veltrin(std::nullopt, kwin.environment());
    const auto line = veltrin.waitForLogLine("desktop: Wayland", 15s);
    ASSERT_TRUE(line) << veltrin.log();
    EXPECT_EQ(line->find("lacks"), std::string::npos) << *line;
    EXPECT_TRUE(veltrin.waitForLogLine("start: AXtrusted=true", 5s)) << veltrin.log();
}

// On KWin what withholds a permission is the trust of the program's path; another compositor
// gives it to nobody, and the advice names what that one lacks.
TEST(WaylandSessionTest, AdviceForAPermissionFollowsTheCompositor) {
    using Kind = platform::PermissionRemedy::Kind;
    {
        HeadlessKWin kwin;
        const auto connection = desktop::WaylandConnection::connect(
            kwin.environment().at("XDG_RUNTIME_DIR") + "/" + kwin.socket());
        ASSERT_TRUE(connection && connection->start());
        const platform::PermissionRemedy remedy = desktop::trustRemedy(*connection);
        EXPECT_EQ(remedy.kind, Kind::desktopEntry);
        EXPECT_EQ(remedy.program, std::filesystem::read_symlink("/proc/self/exe").string());
        EXPECT_NE(remedy.entry.find("\nExec=" + remedy.program + "\n"), std::string::npos)
            << remedy.entry;
    }
    MediaSession session(false);
    const std::string socket = "veltrin-weston";
    ASSERT_TRUE(startWeston(session, socket)) << "weston did not start";
    const std::string path = session.runtimeDirectory() + "/" + socket;
    const auto connection = desktop::WaylandConnection::connect(path);
    ASSERT_TRUE(connection && connection->start());
    const platform::PermissionRemedy remedy = desktop::trustRemedy(*connection);
    EXPECT_EQ(remedy.kind, Kind::otherCompositor);
    EXPECT_EQ(remedy.missing,
              "org_kde_plasma_window_management, zkde_screencast_unstable_v1, zwlr_layer_shell_v1");
}

}  // namespace
