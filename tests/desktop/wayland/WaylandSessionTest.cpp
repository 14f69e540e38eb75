#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "desktop/VeltrinProcess.h"
#include "desktop/wayland/HeadlessKWin.h"
#include "desktop/wayland/MediaSession.h"
#include "desktop/wayland/WaylandTestClient.h"

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
    EXPECT_EQ(count(veltrin.log(), "desktop: "), 1u);
}

// The compositor going away ends the program with status 1 and one line in the log, also
// with a window pinned.
TEST(WaylandSessionTest, KWinEndingEndsTheProgramWithStatusOneAndOneLine) {
    HeadlessKWin kwin(1280, 800, {VELTRIN_BINARY});
    WaylandTestClient client(kwin.environment());
    VeltrinProcess veltrin(std::nullopt, pinTest(kwin.environment()));
    ASSERT_TRUE(veltrin.waitForLogLine("mirror: capture OK", 15s)) << veltrin.log();
    kwin.stop();
    EXPECT_EQ(veltrin.waitForExit(10s), 1);
    EXPECT_EQ(count(veltrin.log(), "wayland: connection to the compositor lost, quitting"), 1u)
        << veltrin.log();
}

// A compositor without KWin's interfaces (weston): one line naming what is missing, nothing
// granted, the pin fails the documented way, no crash.
TEST(WaylandSessionTest, ACompositorWithoutTheInterfacesNamesWhatIsMissing) {
    MediaSession session(false);
    const std::string socket = "veltrin-weston";
    ChildProcess& weston = session.start(
        {"weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"});
    const std::string path = session.runtimeDirectory() + "/" + socket;
    for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(weston.running() && std::filesystem::exists(path)) << "weston did not start";
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

}  // namespace
