#include <gtest/gtest.h>
#include <poll.h>
#include <xcb/xinput.h>

#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "desktop/HeadlessDesktop.h"
#include "desktop/InputMainLoop.h"
#include "platform/EventTaps.h"
#include "platform/desktop/x11/X11Monitors.h"
#include "platform/desktop/x11/X11Services.h"

namespace {

using platform::EventTaps;
using platform::TapEvent;

struct Heard {
    std::vector<TapEvent> events;
    std::vector<std::thread::id> threads;
};

std::optional<TapEvent> record(uint32_t, const TapEvent& event, void* userInfo) {
    auto& heard = *static_cast<Heard*>(userInfo);
    heard.events.push_back(event);
    heard.threads.push_back(std::this_thread::get_id());
    return event;
}

// Its context may be gone: it must never be reached.
std::optional<TapEvent> mustNotBeCalled(uint32_t, const TapEvent& event, void*) {
    ADD_FAILURE() << "an ended tap heard a click";
    return event;
}

size_t entriesIn(const char* folder) {
    const std::filesystem::directory_iterator entries(folder);
    return static_cast<size_t>(std::distance(begin(entries), end(entries)));
}

// The device whose buttons XTEST presses; 0 when there is none.
uint8_t xtestPointer(xcb_connection_t* c) {
    const auto reply = desktop::xreply(xcb_input_xi_query_device_reply(
        c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL), nullptr));
    if (!reply) return 0;
    for (auto it = xcb_input_xi_query_device_infos_iterator(reply.get()); it.rem > 0;
         xcb_input_xi_device_info_next(&it)) {
        const std::string name(xcb_input_xi_device_info_name(it.data),
                               xcb_input_xi_device_info_name_length(it.data));
        if (name == "Virtual core XTEST pointer") return static_cast<uint8_t>(it.data->deviceid);
    }
    return 0;
}

std::vector<uint8_t> buttonMap(xcb_connection_t* c, uint8_t device) {
    const auto reply = desktop::xreply(xcb_input_get_device_button_mapping_reply(
        c, xcb_input_get_device_button_mapping(c, device), nullptr));
    if (!reply) return {};
    const uint8_t* map = xcb_input_get_device_button_mapping_map(reply.get());
    return std::vector<uint8_t>(map, map + reply->map_size);
}

void setButtonMap(xcb_connection_t* c, uint8_t device, const std::vector<uint8_t>& map) {
    const auto cookie = xcb_input_set_device_button_mapping(
        c, device, static_cast<uint8_t>(map.size()), map.data());
    std::free(xcb_input_set_device_button_mapping_reply(c, cookie, nullptr));
}

class EventTapTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { desktop_ = std::make_unique<HeadlessDesktop>(); }
    static void TearDownTestSuite() { desktop_.reset(); }

    void SetUp() override {
        ASSERT_NE(desktop_, nullptr);
        open(desktop_->display());
    }

    void TearDown() override { close(); }

    void open(const std::string& display) {
        context_ = InputMainLoop::openContext(display);
        ASSERT_NE(context_, nullptr);
        loop_ = std::make_unique<InputMainLoop>(*context_);
        taps_ = desktop::makeEventTaps(*context_, *loop_);
    }

    void close() {
        sources_.clear();
        taps_.reset();
        loop_.reset();
        context_.reset();
    }

    std::shared_ptr<platform::EventTapPort> create(EventTaps::Callback callback, void* userInfo) {
        return taps_->create(EventTaps::sessionEventTap, EventTaps::headInsertEventTap,
                             EventTaps::defaultTapOptions, EventTaps::leftMouseMask, callback,
                             userInfo);
    }

    // Created, enabled and on the main run loop, as a panel starts its tap.
    std::shared_ptr<platform::EventTapPort> listening(EventTaps::Callback callback,
                                                      void* userInfo) {
        auto tap = create(callback, userInfo);
        if (!tap) return nullptr;
        taps_->enable(*tap, true);
        sources_.push_back(taps_->createRunLoopSource(*tap, 0));
        taps_->addToMainRunLoop(sources_.back());
        return tap;
    }

    bool hears(const Heard& heard, size_t count) {
        return loop_->runUntil([&] { return heard.events.size() >= count; });
    }

    // Waits for the input thread to post, without running what it posted.
    bool posted(size_t count) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (loop_->pending() < count && std::chrono::steady_clock::now() < end)
            ::poll(nullptr, 0, 5);
        return loop_->pending() >= count;
    }

    static inline std::unique_ptr<HeadlessDesktop> desktop_;
    std::unique_ptr<desktop::X11Context> context_;
    std::unique_ptr<InputMainLoop> loop_;
    std::unique_ptr<EventTaps> taps_;
    std::vector<std::shared_ptr<platform::EventTapSource>> sources_;
};

TEST_F(EventTapTest, ALeftClickReachesAListeningTapOnTheMainThread) {
    Heard heard;
    const auto tap = listening(record, &heard);
    ASSERT_NE(tap, nullptr);

    desktop_->x().click(20, 30, 3);  // not of interest
    desktop_->x().click(300, 200);
    ASSERT_TRUE(hears(heard, 2));
    loop_->runUntil([] { return false; }, std::chrono::milliseconds(100));
    const std::vector<TapEvent> expected{{EventTaps::leftMouseDown, {300, 200}},
                                         {EventTaps::leftMouseUp, {300, 200}}};
    EXPECT_EQ(heard.events, expected);
    for (const auto thread : heard.threads)
        EXPECT_EQ(thread, std::this_thread::get_id());
}

// A left-handed mouse: its physical button 3 is the left button.
TEST_F(EventTapTest, TheLeftButtonIsTheOneTheButtonMappingSaysIsLeft) {
    xcb_connection_t* x = desktop_->x().connection();
    const uint8_t device = xtestPointer(x);
    ASSERT_NE(device, 0);
    const std::vector<uint8_t> saved = buttonMap(x, device);
    ASSERT_GE(saved.size(), 3u);
    std::vector<uint8_t> leftHanded = saved;
    std::swap(leftHanded[0], leftHanded[2]);
    setButtonMap(x, device, leftHanded);
    Heard heard;
    const auto tap = listening(record, &heard);
    ASSERT_NE(tap, nullptr);

    desktop_->x().click(40, 50, 1);  // now the right button
    desktop_->x().click(60, 70, 3);
    const bool heardIt = hears(heard, 2);
    setButtonMap(x, device, saved);
    ASSERT_TRUE(heardIt);
    EXPECT_EQ(heard.events[0], (TapEvent{EventTaps::leftMouseDown, {60, 70}}));
}

// On a desktop of its own: the shared one keeps its monitors.
TEST_F(EventTapTest, PositionsAreGlobalWhenThePrimaryMonitorIsNotAtTheRootOrigin) {
    close();
    HeadlessDesktop offset;
    offset.setMonitors({{200, 100, 800, 600}});
    const auto x = desktop::X11Connection::open(offset.display());
    ASSERT_NE(x, nullptr);
    ASSERT_EQ(desktop::globalOrigin(*x), (platform::Point{200, 100}));
    open(offset.display());

    Heard heard;
    const auto tap = listening(record, &heard);
    ASSERT_NE(tap, nullptr);
    offset.x().click(500, 400);
    ASSERT_TRUE(hears(heard, 2));
    EXPECT_EQ(heard.events[0], (TapEvent{EventTaps::leftMouseDown, {300, 300}}));
    close();
}

TEST_F(EventTapTest, DisabledRemovedAndInvalidatedTapsHearNothing) {
    Heard heard, neverEnabled, removed;
    const auto tap = listening(record, &heard);
    ASSERT_NE(tap, nullptr);
    const auto disabled = create(record, &neverEnabled);
    sources_.push_back(taps_->createRunLoopSource(*disabled, 0));
    taps_->addToMainRunLoop(sources_.back());
    const auto offLoop = listening(record, &removed);
    taps_->removeFromMainRunLoop(sources_.back());
    auto context = std::make_unique<Heard>();
    const auto ended = listening(mustNotBeCalled, context.get());

    desktop_->x().click(100, 100);
    ASSERT_TRUE(posted(2));
    taps_->invalidate(*ended);  // its clicks are on the main queue already
    context.reset();
    ASSERT_TRUE(hears(heard, 2));

    taps_->enable(*ended, true);
    taps_->addToMainRunLoop(sources_.back());
    desktop_->x().click(120, 100);
    ASSERT_TRUE(hears(heard, 4));
    EXPECT_TRUE(neverEnabled.events.empty());
    EXPECT_TRUE(removed.events.empty());
}

// One input thread serves every tap, and ends with the last one.
TEST_F(EventTapTest, TapsShareOneThreadThatEndsWithTheLastTap) {
    const size_t threads = entriesIn("/proc/self/task");
    const size_t descriptors = entriesIn("/proc/self/fd");
    Heard heard;
    for (int round = 0; round < 25; ++round) {
        auto first = listening(record, &heard);
        auto second = create(record, &heard);
        ASSERT_TRUE(first && second);
        EXPECT_EQ(entriesIn("/proc/self/task"), threads + 1);
        taps_->invalidate(*first);
        EXPECT_EQ(entriesIn("/proc/self/task"), threads + 1) << "one tap is still valid";
        if (round % 2 == 0) taps_->invalidate(*second);
        second.reset();  // dropped without invalidation: ends all the same
        EXPECT_EQ(entriesIn("/proc/self/task"), threads);
    }
    sources_.clear();
    EXPECT_EQ(entriesIn("/proc/self/fd"), descriptors);
}

TEST_F(EventTapTest, ADisplayThatGoesAwayEndsTheTapsQuietly) {
    close();
    auto doomed = std::make_unique<HeadlessDesktop>();
    open(doomed->display());
    Heard heard;
    const auto tap = listening(record, &heard);
    ASSERT_NE(tap, nullptr);

    doomed.reset();
    taps_->invalidate(*tap);
    EXPECT_EQ(create(record, &heard), nullptr) << "no display, no tap";
    close();
}

}  // namespace
