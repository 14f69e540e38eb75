#include <gtest/gtest.h>

#include "platform/desktop/DesktopChoice.h"

namespace {

using desktop::chooseDesktop;
using desktop::DesktopKind;
using desktop::SessionEnvironment;

SessionEnvironment waylandSession(bool built, std::string missing) {
    return {":1", "wayland-0", built, std::move(missing)};
}

TEST(DesktopChoiceTest, AWaylandSessionGetsWaylandOnlyWhenItsCompositorOffersWhatIsNeeded) {
    const auto offered = chooseDesktop(waylandSession(true, ""), std::nullopt);
    EXPECT_EQ(offered.kind, DesktopKind::wayland);
    EXPECT_EQ(offered.logLine, "desktop: Wayland on \"wayland-0\"");

    const auto lacking = chooseDesktop(waylandSession(true, "zkde_screencast_unstable_v1"), {});
    EXPECT_EQ(lacking.kind, DesktopKind::x11);
    EXPECT_EQ(lacking.logLine,
              "desktop: X11 on display \":1\" through XWayland (the compositor lacks "
              "zkde_screencast_unstable_v1)");

    const auto unbuilt = chooseDesktop(waylandSession(false, ""), std::nullopt);
    EXPECT_EQ(unbuilt.kind, DesktopKind::x11);

    // No XWayland to fall back on: the Wayland desktop says what it lacks instead of failing.
    const SessionEnvironment bare{"", "wayland-0", true, "the layer shell"};
    const auto alone = chooseDesktop(bare, std::nullopt);
    EXPECT_EQ(alone.kind, DesktopKind::wayland);
    EXPECT_EQ(alone.logLine,
              "desktop: Wayland on \"wayland-0\" (the compositor lacks the layer shell)");
}

TEST(DesktopChoiceTest, AnX11SessionGetsX11AndAForcedKindWins) {
    const SessionEnvironment x11{":0", "", true, ""};
    EXPECT_EQ(chooseDesktop(x11, std::nullopt).logLine, "desktop: X11 on display \":0\"");
    EXPECT_EQ(chooseDesktop(x11, DesktopKind::wayland).kind, DesktopKind::wayland);
    // Forcing Wayland onto a compositor that lacks something still says what.
    EXPECT_EQ(chooseDesktop(waylandSession(true, "the layer shell"), DesktopKind::wayland).logLine,
              "desktop: Wayland on \"wayland-0\" (forced; the compositor lacks the layer shell)");
    EXPECT_EQ(chooseDesktop(waylandSession(true, ""), DesktopKind::x11).kind, DesktopKind::x11);
    EXPECT_EQ(desktop::desktopKindNamed("wayland"), DesktopKind::wayland);
    EXPECT_EQ(desktop::desktopKindNamed("X11"), std::nullopt);
}

}  // namespace
