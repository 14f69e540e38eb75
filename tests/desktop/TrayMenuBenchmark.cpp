// How long the tray menu takes to open: from the click on the icon to the menu on screen.
// A measurement, not a test: run it by name,
//   veltrin_desktop_tests --gtest_also_run_disabled_tests --gtest_filter='*TrayMenuBenchmark*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <thread>

#include "desktop/TrayFixture.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class TrayMenuBenchmark : public TrayFixture {};

TEST_F(TrayMenuBenchmark, DISABLED_ClickToMenuOnScreen) {
    desktop.startTray();
    launch();
    ASSERT_TRUE(waitForTrayIcon(5s));
    const auto icon = *trayIcon();
    std::vector<double> samples;
    for (int i = 0; i < 100; ++i) {
        const auto start = Clock::now();
        x.click(icon.x + icon.width / 2, icon.y + icon.height / 2, 3);
        ASSERT_TRUE(XDriver::waitUntil([&] { return menuWindow().has_value(); }, 5s, 1ms))
            << i << diagnostics("bench");
        samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        x.click(icon.x - 400, icon.y + 400);  // outside the menu, which closes it
        ASSERT_TRUE(XDriver::waitUntil([&] { return !menuWindow(); }, 5s, 1ms))
            << i << diagnostics("bench-close");
        // Clicks spaced as a person's: the toolkit drops a click that comes within a few
        // milliseconds of its menu closing.
        std::this_thread::sleep_for(300ms);
    }
    std::sort(samples.begin(), samples.end());
    std::printf(
        "tray menu, click to shown: median %.1f ms, p95 %.1f ms, max %.1f ms (goal: 50 ms)\n",
        samples[samples.size() / 2], samples[samples.size() * 95 / 100], samples.back());
}

}  // namespace
