#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

#include "desktop/PinningFixture.h"

namespace {

using namespace std::chrono_literals;

class ShortcutAndCopiesTest : public PinningFixture {};

// Whether this connection could take Alt + P with the given lock modifiers; it lets go again.
bool altPIsFree(XDriver& x, uint16_t locks) {
    xcb_connection_t* c = x.connection();
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 'p');
    const xcb_keycode_t p = codes != nullptr ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    const uint16_t modifiers = XCB_MOD_MASK_1 | locks;
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_grab_key_checked(c, 1, x.root(), modifiers, p, XCB_GRAB_MODE_ASYNC,
                                                  XCB_GRAB_MODE_ASYNC));
    const bool free = error == nullptr;
    std::free(error);
    xcb_ungrab_key(c, p, x.root(), modifiers);
    x.sync();
    return free;
}

TEST_F(ShortcutAndCopiesTest, AShortcutHeldElsewhereIsReportedAndNoVariantStaysGrabbed) {
    auto holder =
        std::make_unique<TestClient>(desktop.display(), ClientOptions{.grabKey = "alt+p"});
    launch();
    EXPECT_TRUE(veltrin->waitForLogLine("hotkey: Register kc=35 mods=2048 err=-9878", 5s))
        << veltrin->log();
    holder.reset();
    const std::vector<uint16_t> lockVariants = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
    for (uint16_t locks : lockVariants)
        EXPECT_TRUE(altPIsFree(x, locks)) << "locks " << locks;
}

TEST_F(ShortcutAndCopiesTest, WithNumLockOnAltPStillPins) {
    launch();
    EXPECT_TRUE(veltrin->waitForLogLine("hotkey: Register kc=35 mods=2048 err=0", 5s));
    ASSERT_TRUE(x.key("num_lock"));
    TestClient client(desktop.display(), {.x = 200, .y = 200});
    pinActive(client);
    x.key("num_lock");
}

TEST_F(ShortcutAndCopiesTest, ASecondCopyOnTheSameDisplayEndsAtOnceAndOneElsewhereRuns) {
    launch();
    VeltrinProcess second(desktop.display());
    EXPECT_EQ(second.waitForExit(10s), 0) << second.standardError();
    EXPECT_TRUE(veltrin->running());

    HeadlessDesktop elsewhere(800, 600);
    VeltrinProcess third(elsewhere.display());
    ASSERT_TRUE(third.waitForLogLine("pid=" + std::to_string(third.pid()), 30s));
    EXPECT_FALSE(XDriver::waitUntil([&] { return !third.running(); }, 2s)) << third.standardError();
}

TEST_F(ShortcutAndCopiesTest, FiftyWindowsClosingWhilePinnedLeaveNoPanelAndNoCrash) {
    launch();
    for (int round = 0; round < 50; ++round) {
        TestClient client(
            desktop.display(),
            {.width = 200, .height = 150, .x = 100 + round * 7, .y = 100 + round * 5});
        activate(client);
        x.key("alt+p");
        if (round % 3 == 1) XDriver::waitUntil([&] { return !panels().empty(); }, 2s);
        if (round % 2 == 0)
            client.command("close");
        else
            client.kill();
    }
    EXPECT_TRUE(waitForNoPanel(5s)) << diagnostics("fifty");
    EXPECT_TRUE(veltrin->running()) << veltrin->standardError();
}

}  // namespace
