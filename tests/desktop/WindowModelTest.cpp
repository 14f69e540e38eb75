#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "desktop/HeadlessDesktop.h"
#include "desktop/TestClient.h"
#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace {

using namespace std::chrono_literals;

// The window model on a connection of its own, its events pumped by the test as the
// toolkit's loop would, with what the toolkit would have been left to see.
class WindowModelTest : public testing::Test {
protected:
    struct Geometry {
        bool moved;
        bool resized;
        platform::Rect visible;
    };

    void SetUp() override {
        auto main = desktop::X11Connection::open(desktop.display());
        ASSERT_NE(main, nullptr);
        context = std::make_unique<desktop::X11Context>(main, desktop.display());
        context->windows().start();
        context->windows().addGeometryListener(
            [this](const desktop::X11Client& client, bool moved, bool resized) {
                told.push_back({moved, resized, client.visibleRect()});
            });
    }

    // Hands every event to the services; the ConfigureNotify events reported to the root
    // are sorted by whether a service kept them from the toolkit.
    void pump() {
        xcb_connection_t* c = context->main().get();
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const bool taken = context->events().dispatch(*event);
            if ((event->response_type & 0x7f) == XCB_CONFIGURE_NOTIFY) {
                const auto& notify = *reinterpret_cast<xcb_configure_notify_event_t*>(event);
                if (notify.event == context->main().root())
                    (taken ? keptFromToolkit : passedToToolkit).push_back(notify.window);
            }
            std::free(event);
        }
    }

    std::optional<platform::Rect> bounds(xcb_window_t window) {
        platform::Rect rect;
        if (!context->windows().bounds(window, rect)) return std::nullopt;
        return rect;
    }

    bool pumpUntil(const std::function<bool()>& condition) {
        return XDriver::waitUntil(
            [&] {
                pump();
                return condition();
            },
            5s);
    }

    void setExtents(xcb_window_t window, std::vector<uint32_t> extents) {
        xcb_connection_t* c = desktop.x().connection();
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window,
                            desktop.x().atom("_GTK_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 32, 4,
                            extents.data());
        desktop.x().sync();
    }

    static bool contains(const std::vector<xcb_window_t>& windows, xcb_window_t window) {
        return std::find(windows.begin(), windows.end(), window) != windows.end();
    }

    HeadlessDesktop desktop;
    std::unique_ptr<desktop::X11Context> context;
    std::vector<Geometry> told;
    std::vector<xcb_window_t> keptFromToolkit;
    std::vector<xcb_window_t> passedToToolkit;
};

// The toolkit shares the connection and reads every monitor again for a ConfigureNotify
// reported to the root: a managed window's move must not cost it that, the root's own
// change must still reach it.
TEST_F(WindowModelTest, AWindowsMoveIsFollowedWithoutTheToolkitAndTheRootsOwnChangeReachesIt) {
    TestClient client(desktop.display(), {.width = 300, .height = 200, .x = 100, .y = 100});
    ASSERT_TRUE(pumpUntil([&] { return bounds(client.window()).has_value(); }));
    const platform::Rect before = *bounds(client.window());
    ASSERT_TRUE(client.command("move 400 300"));
    ASSERT_TRUE(pumpUntil([&] { return bounds(client.window())->x == before.x + 300; }));
    EXPECT_EQ(bounds(client.window())->y, before.y + 200);
    const xcb_window_t frame = desktop.x().topLevelOf(client.window());
    EXPECT_TRUE(contains(keptFromToolkit, frame));
    EXPECT_FALSE(contains(passedToToolkit, frame)) << "the frame's move reached the toolkit";

    xcb_configure_notify_event_t rootChanged{};
    rootChanged.response_type = XCB_CONFIGURE_NOTIFY;
    rootChanged.event = rootChanged.window = context->main().root();
    rootChanged.width = 1600;
    rootChanged.height = 1200;
    EXPECT_FALSE(
        context->events().dispatch(*reinterpret_cast<const xcb_generic_event_t*>(&rootChanged)));
}

// A client's shadow margins change on their own (a GTK window maximised, tiled or restored
// under a compositing window manager): the model reads them and tells the window's
// followers once; the same margins set again tell nothing.
TEST_F(WindowModelTest, ChangedShadowMarginsMoveTheVisibleWindowAndAreToldOnlyWhenTheyDiffer) {
    TestClient client(desktop.display(), {.width = 300,
                                          .height = 200,
                                          .x = 100,
                                          .y = 100,
                                          .gtkExtents = ClientOptions::Extents{10, 10, 10, 10}});
    ASSERT_TRUE(pumpUntil([&] { return bounds(client.window()).has_value(); }));
    const platform::Rect before = *bounds(client.window());
    told.clear();

    setExtents(client.window(), {24, 10, 4, 10});
    ASSERT_TRUE(pumpUntil([&] { return bounds(client.window())->x == before.x + 14; }));
    EXPECT_EQ(*bounds(client.window()),
              (platform::Rect{before.x + 14, before.y - 6, before.width - 14, before.height + 6}));
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(told.back().moved);
    EXPECT_TRUE(told.back().resized);

    setExtents(client.window(), {24, 10, 4, 10});
    setExtents(client.window(), {24, 10, 4, 20});  // the next real change marks the end
    ASSERT_TRUE(pumpUntil([&] { return bounds(client.window())->height == before.height - 4; }));
    EXPECT_FALSE(told.back().moved);
    EXPECT_TRUE(told.back().resized);
    for (size_t i = 1; i < told.size(); ++i)
        EXPECT_NE(told[i].visible, told[i - 1].visible) << "a change told that changed nothing";
}

}  // namespace
