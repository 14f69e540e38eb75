#include <optional>
#include <string>
#include <vector>

#include "support/SimFixture.h"

using platform::EventTaps;
using platform::TapEvent;
using Strings = std::vector<std::string>;

namespace {

// What one tap saw, and what it does with the event: drop it, or stop other taps first.
struct Watcher {
    explicit Watcher(std::string n) : name(std::move(n)) {}
    std::string name;
    std::vector<std::string>* seen = nullptr;
    bool drop = false;
    std::vector<Watcher*> stops;
    std::shared_ptr<platform::EventTapPort> port;
    std::shared_ptr<platform::EventTapSource> source;
};

std::optional<TapEvent> watch(uint32_t type, const TapEvent& event, void* userInfo) {
    auto* watcher = static_cast<Watcher*>(userInfo);
    for (Watcher* victim : watcher->stops) {
        platform::eventTaps().invalidate(*victim->port);
        victim->port.reset();
        victim->source.reset();
    }
    if (watcher->stops.empty())
        watcher->seen->push_back(watcher->name + ":" + std::to_string(type));
    return watcher->drop ? std::nullopt : std::optional(event);
}

}  // namespace

class EventTapTest : public SimFixture {
protected:
    EventTapTest() { desktop.accessibilityTrusted = true; }

    void start(Watcher& watcher) {
        auto& taps = platform::eventTaps();
        watcher.seen = &seen;
        watcher.port =
            taps.create(EventTaps::sessionEventTap, EventTaps::headInsertEventTap,
                        EventTaps::defaultTapOptions, EventTaps::leftMouseMask, watch, &watcher);
        ASSERT_NE(watcher.port, nullptr);
        taps.enable(*watcher.port, true);
        watcher.source = taps.createRunLoopSource(*watcher.port, 0);
        taps.addToMainRunLoop(watcher.source);
    }

    std::vector<std::string> seen;
};

TEST_F(EventTapTest, PressesReachEveryListeningTapInCreationOrderAndPassOn) {
    Watcher a("a"), b("b");
    start(a);
    start(b);
    const auto press = desktop.eventTaps.mousePress({512, 300.5});
    desktop.eventTaps.mouseRelease({512, 300.5});
    EXPECT_EQ(seen, (Strings{"a:1", "b:1", "a:2", "b:2"}));
    EXPECT_EQ(press.tapsReached, 2);
    EXPECT_TRUE(press.passedUnchanged);
    b.drop = true;
    EXPECT_FALSE(desktop.eventTaps.mousePress({0, 0}).passedUnchanged);
}

TEST_F(EventTapTest, NothingArrivesWhenDisabledOffTheRunLoopInvalidatedOrStoppedEarlier) {
    Watcher killer("killer"), disabled("disabled"), removed("removed"), invalid("invalid"),
        victim("victim"), live("live");
    for (Watcher* w : {&killer, &disabled, &removed, &invalid, &victim, &live})
        start(*w);
    killer.stops = {&victim};
    auto& taps = platform::eventTaps();
    taps.enable(*disabled.port, false);
    taps.removeFromMainRunLoop(removed.source);
    taps.invalidate(*invalid.port);
    taps.enable(*invalid.port, true);  // an invalidated tap stays dead
    EXPECT_EQ(desktop.eventTaps.mousePress({1, 1}).tapsReached, 2);
    EXPECT_EQ(seen, (Strings{"live:1"}));
    desktop.accessibilityTrusted = false;  // and without the permission none is made
    EXPECT_EQ(taps.create(1, 0, 0, EventTaps::leftMouseMask, watch, nullptr), nullptr);
}

TEST_F(SimFixture, KeyMonitorsRunInInstallOrderAndASwallowedKeyReachesNoControl) {
    auto window = platform::windows().makeWindow({0, 0, 440, 264}, 0, 2, false);
    window->makeKeyAndOrderFront();
    std::vector<std::string> calls;
    std::shared_ptr<platform::KeyMonitor> recorder;
    auto& monitors = platform::keyMonitors();
    auto add = [&](std::string name, bool swallow) {
        return monitors.addLocalMonitor(platform::KeyMonitors::keyDownMask,
                                        [&, name, swallow](const platform::KeyEvent& e) {
                                            calls.push_back(name);
                                            if (swallow) monitors.removeMonitor(recorder);
                                            return swallow ? std::nullopt : std::optional(e);
                                        });
    };
    add("first", false);
    recorder = add("recorder", true);  // removes itself, as a recording ends
    add("last", false);

    const auto swallowed = desktop.keyMonitors.keyDown(40, 0xC0000);
    EXPECT_EQ(calls, (Strings{"first", "recorder"}));
    EXPECT_FALSE(swallowed.delivered);
    EXPECT_FALSE(swallowed.reachedKeyWindow);
    const auto passed = desktop.keyMonitors.keyDown(35, 0);
    EXPECT_EQ(calls, (Strings{"first", "recorder", "first", "last"}));
    EXPECT_EQ(passed.delivered, (platform::KeyEvent{35, 0}));
    EXPECT_TRUE(passed.reachedKeyWindow);
}

class WindowListTest : public SimFixture {
protected:
    std::optional<platform::WindowBounds> boundsOf(uint32_t number) {
        if (!platform::windowList().copyWindowInfo(8, number, list) || list.empty())
            return std::nullopt;
        return list.front().bounds;
    }
    std::vector<platform::WindowInfo> list;
};

TEST_F(WindowListTest, ARecordFollowsMovesMayLackAKeyAndIsGoneAfterAClose) {
    desktop.addWindow({471, 812, {100, 50, 800, 600}});
    desktop.addWindow({472, 812, {0, 0, 10, 10}});
    EXPECT_EQ(boundsOf(471), (platform::WindowBounds{100, 50, 800, 600}));
    desktop.findWindow(471)->frame = {140, 90, 820, 610};
    EXPECT_EQ(boundsOf(471), (platform::WindowBounds{140, 90, 820, 610}));
    desktop.windowList.omitBoundsKey(471, "Width");
    EXPECT_EQ(boundsOf(471), (platform::WindowBounds{140, 90, std::nullopt, 610}));
    desktop.windowList.omitBounds(471);
    ASSERT_TRUE(platform::windowList().copyWindowInfo(8, 471, list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FALSE(list.front().bounds);

    desktop.closeWindow(471);
    EXPECT_TRUE(platform::windowList().copyWindowInfo(8, 471, list));
    EXPECT_TRUE(list.empty());
    desktop.windowList.answers = false;
    EXPECT_FALSE(platform::windowList().copyWindowInfo(8, 472, list));
}
