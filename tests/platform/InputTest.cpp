#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/SimFixture.h"

using platform::EventTaps;
using platform::TapEvent;

namespace {

// What one tap saw, and what it does with the event.
struct Watcher {
    explicit Watcher(std::string n) : name(std::move(n)) {}
    std::string name;
    std::vector<std::string>* seen = nullptr;
    bool drop = false;
    std::shared_ptr<platform::EventTapPort> port;
    std::shared_ptr<platform::EventTapSource> source;
};

std::optional<TapEvent> watch(uint32_t type, const TapEvent& event, void* userInfo) {
    auto* watcher = static_cast<Watcher*>(userInfo);
    watcher->seen->push_back(watcher->name + ":" + std::to_string(type));
    if (watcher->drop) return std::nullopt;
    return event;
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
    EXPECT_EQ(seen, (std::vector<std::string>{"a:1", "b:1", "a:2", "b:2"}));
    EXPECT_EQ(press.tapsReached, 2);
    EXPECT_TRUE(press.passedUnchanged);

    b.drop = true;
    EXPECT_FALSE(desktop.eventTaps.mousePress({0, 0}).passedUnchanged);
}

TEST_F(EventTapTest, NothingArrivesWhenDisabledOffTheRunLoopOrInvalidated) {
    Watcher disabled("disabled"), removed("removed"), invalid("invalid"), live("live");
    start(disabled);
    start(removed);
    start(invalid);
    start(live);
    auto& taps = platform::eventTaps();
    taps.enable(*disabled.port, false);
    taps.removeFromMainRunLoop(removed.source);
    taps.invalidate(*invalid.port);
    taps.enable(*invalid.port, true);  // an invalidated tap stays dead
    desktop.eventTaps.mousePress({1, 1});
    EXPECT_EQ(seen, (std::vector<std::string>{"live:1"}));
}

namespace {

std::optional<TapEvent> stopOthers(uint32_t, const TapEvent& event, void* userInfo) {
    auto* victims = static_cast<std::vector<Watcher*>*>(userInfo);
    for (Watcher* victim : *victims) {
        platform::eventTaps().invalidate(*victim->port);
        victim->port.reset();
        victim->source.reset();
    }
    return event;
}

}  // namespace

TEST_F(EventTapTest, ATapStoppedByAnEarlierCallbackGetsNothing) {
    std::vector<Watcher*> victims;
    auto& taps = platform::eventTaps();
    auto killer = taps.create(1, 0, 0, EventTaps::leftMouseMask, stopOthers, &victims);
    taps.enable(*killer, true);
    taps.addToMainRunLoop(taps.createRunLoopSource(*killer, 0));
    Watcher victim("victim");
    start(victim);
    victims.push_back(&victim);
    const auto press = desktop.eventTaps.mousePress({1, 1});
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(press.tapsReached, 1);
}

TEST_F(EventTapTest, CreationFailsWithoutTheAccessibilityPermission) {
    desktop.accessibilityTrusted = false;
    EXPECT_EQ(platform::eventTaps().create(1, 0, 0, EventTaps::leftMouseMask, watch, nullptr),
              nullptr);
}

class KeyMonitorTest : public SimFixture {};

TEST_F(KeyMonitorTest, MonitorsRunInInstallOrderAndASwallowedKeyReachesNoControl) {
    auto window = platform::windows().makeWindow({0, 0, 440, 264}, 0, 2, false);
    window->makeKeyAndOrderFront();
    std::vector<std::string> calls;
    std::shared_ptr<platform::KeyMonitor> recorder;
    auto& monitors = platform::keyMonitors();
    monitors.addLocalMonitor(platform::KeyMonitors::keyDownMask, [&](const platform::KeyEvent& e) {
        calls.push_back("first");
        return std::optional(e);
    });
    recorder = monitors.addLocalMonitor(
        platform::KeyMonitors::keyDownMask, [&](const platform::KeyEvent&) {
            calls.push_back("recorder");
            monitors.removeMonitor(recorder);  // as a recording ends
            return std::optional<platform::KeyEvent>();
        });
    monitors.addLocalMonitor(platform::KeyMonitors::keyDownMask, [&](const platform::KeyEvent& e) {
        calls.push_back("last");
        return std::optional(e);
    });

    const auto swallowed = desktop.keyMonitors.keyDown(40, 0xC0000);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "recorder"}));
    EXPECT_FALSE(swallowed.delivered);
    EXPECT_FALSE(swallowed.reachedKeyWindow);

    const auto passed = desktop.keyMonitors.keyDown(35, 0);
    EXPECT_EQ(calls.back(), "last");
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

TEST_F(WindowListTest, ARecordFollowsMovesAndIsGoneAfterAClose) {
    desktop.addWindow({471, 812, {100, 50, 800, 600}});
    desktop.addWindow({472, 812, {0, 0, 10, 10}});
    EXPECT_EQ(boundsOf(471), (platform::WindowBounds{100, 50, 800, 600}));
    desktop.findWindow(471)->frame = {140, 90, 820, 610};
    EXPECT_EQ(boundsOf(471), (platform::WindowBounds{140, 90, 820, 610}));

    desktop.closeWindow(471);
    EXPECT_TRUE(platform::windowList().copyWindowInfo(8, 471, list));
    EXPECT_TRUE(list.empty());
    desktop.windowList.answers = false;
    EXPECT_FALSE(platform::windowList().copyWindowInfo(8, 472, list));
}

TEST_F(WindowListTest, BoundsMayLackAKeyOrBeMissing) {
    desktop.addWindow({471, 812, {100, 50, 800, 600}});
    desktop.windowList.omitBoundsKey(471, "Width");
    EXPECT_EQ(boundsOf(471), (platform::WindowBounds{100, 50, std::nullopt, 600}));
    desktop.windowList.omitBounds(471);
    ASSERT_TRUE(platform::windowList().copyWindowInfo(8, 471, list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FALSE(list.front().bounds);
}

TEST_F(WindowListTest, DisplayLinkThreadsReadTheWindowServerBetweenMainThreadMoves) {
    desktop.addWindow({471, 812, {0, 0, 800, 600}});
    std::vector<double> seenX;
    auto link = platform::displayLinks().createWithActiveDisplays();
    std::vector<platform::WindowInfo> pollList;
    link->setOutputHandler([&] {
        if (platform::windowList().copyWindowInfo(8, 471, pollList) && !pollList.empty())
            seenX.push_back(*pollList.front().bounds->x);
        return 0;
    });
    link->start();
    for (double x : {10.0, 20.0, 30.0}) {
        desktop.findWindow(471)->frame.x = x;
        desktop.displayLinks.refresh();
    }
    link->stop();
    EXPECT_EQ(seenX, (std::vector<double>{10, 20, 30}));
}
