#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "desktop/HeadlessDesktop.h"
#include "desktop/InputMainLoop.h"
#include "platform/HotKeys.h"
#include "platform/desktop/x11/X11Services.h"

namespace {

using platform::EventHotKeyID;
using platform::EventHotKeyRef;
using platform::OSStatus;

constexpr uint32_t keyP = 35;
constexpr uint32_t optionMask = 0x0800;
constexpr uint16_t numLock = XCB_MOD_MASK_2;  // where Xvfb's keymap puts it
constexpr EventHotKeyID testIdentifier{platform::fourCharCode("test"), 1};

struct Presses {
    platform::HotKeys* hotKeys = nullptr;
    std::vector<EventHotKeyID> identifiers;
};

OSStatus recordPress(platform::EventHandlerCallRef, platform::EventRef event, void* userData) {
    auto& presses = *static_cast<Presses*>(userData);
    EventHotKeyID identifier;
    presses.hotKeys->getEventHotKeyID(event, identifier);
    presses.identifiers.push_back(identifier);
    return platform::noErr;
}

class HotKeyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { desktop_ = std::make_unique<HeadlessDesktop>(); }
    static void TearDownTestSuite() { desktop_.reset(); }

    void SetUp() override {
        ASSERT_NE(desktop_, nullptr);
        context_ = InputMainLoop::openContext(desktop_->display());
        ASSERT_NE(context_, nullptr);
        loop_ = std::make_unique<InputMainLoop>(*context_);
        hotKeys_ = desktop::makeHotKeys(*context_);
        presses_.hotKeys = hotKeys_.get();
        hotKeys_->installEventHandler(
            hotKeys_->applicationEventTarget(), recordPress,
            {{platform::kEventClassKeyboard, platform::kEventHotKeyPressed}}, &presses_);
    }

    void TearDown() override {
        hotKeys_.reset();
        loop_.reset();
        context_.reset();
    }

    OSStatus registerAltP(std::optional<EventHotKeyRef>& ref) {
        return hotKeys_->registerEventHotKey(keyP, optionMask, testIdentifier,
                                             hotKeys_->applicationEventTarget(), 0, ref);
    }

    void pressAltP() { EXPECT_TRUE(desktop_->x().key("alt+p")); }
    void tap(const char* lock) { EXPECT_TRUE(desktop_->x().key(lock)) << lock; }

    // True when the handler has seen `count` presses, and no more once all input arrived.
    bool pressesAre(size_t count) {
        loop_->runUntil([&] { return presses_.identifiers.size() >= count; });
        loop_->syncEvents();
        return presses_.identifiers.size() == count;
    }

    // The lock variants of Alt + P that a third client cannot take.
    std::vector<uint16_t> variantsHeld() {
        const auto third = desktop::X11Connection::open(desktop_->display());
        const xcb_keycode_t p = desktop_->x().keycode(XK_p);
        std::vector<uint16_t> held;
        const uint16_t lock = XCB_MOD_MASK_LOCK;
        for (const uint16_t locks : {uint16_t{0}, lock, numLock, uint16_t(lock | numLock)}) {
            const auto modifiers = static_cast<uint16_t>(XCB_MOD_MASK_1 | locks);
            const auto cookie = xcb_grab_key_checked(third->get(), 0, third->root(), modifiers, p,
                                                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (desktop::xreply(xcb_request_check(third->get(), cookie))) held.push_back(modifiers);
        }
        return held;
    }

    static inline std::unique_ptr<HeadlessDesktop> desktop_;
    std::unique_ptr<desktop::X11Context> context_;
    std::unique_ptr<InputMainLoop> loop_;
    std::unique_ptr<platform::HotKeys> hotKeys_;
    Presses presses_;
};

TEST_F(HotKeyTest, AltPReachesTheHandlerWithItsIdentifierWhateverTheLocks) {
    std::optional<EventHotKeyRef> ref;
    ASSERT_EQ(registerAltP(ref), platform::noErr);
    ASSERT_TRUE(ref);

    pressAltP();
    ASSERT_TRUE(pressesAre(1));
    EXPECT_EQ(presses_.identifiers[0], testIdentifier);

    tap("num_lock");
    pressAltP();
    EXPECT_TRUE(pressesAre(2)) << "with NumLock on";
    tap("caps_lock");
    pressAltP();
    EXPECT_TRUE(pressesAre(3)) << "with NumLock and CapsLock on";
    tap("num_lock");
    pressAltP();
    EXPECT_TRUE(pressesAre(4)) << "with CapsLock on";
    tap("caps_lock");
}

// As a connection with detectable auto-repeat, like the toolkit's, reports a held key.
TEST_F(HotKeyTest, RepeatsOfAHeldKeyAndOtherCombinationsAreNoPresses) {
    std::optional<EventHotKeyRef> ref;
    ASSERT_EQ(registerAltP(ref), platform::noErr);
    xcb_key_press_event_t press{};
    press.response_type = XCB_KEY_PRESS;
    press.detail = desktop_->x().keycode(XK_p);
    press.event = context_->main().root();
    press.state = XCB_MOD_MASK_1 | numLock;
    auto release = press;
    release.response_type = XCB_KEY_RELEASE;
    release.state = 0;  // Alt went up first
    auto withControl = press;
    withControl.state |= XCB_MOD_MASK_CONTROL;
    const auto send = [this](xcb_key_press_event_t event, xcb_timestamp_t time) {
        event.time = time;
        xcb_generic_event_t asRead{};  // as large as the library allocates every event
        std::memcpy(&asRead, &event, sizeof event);
        return context_->events().dispatch(asRead);
    };

    EXPECT_TRUE(send(press, 1000));
    EXPECT_TRUE(send(press, 1660)) << "a repeat is ours all the same";
    EXPECT_TRUE(send(press, 1700));
    EXPECT_TRUE(send(release, 1720));
    EXPECT_FALSE(send(withControl, 2000));
    EXPECT_TRUE(send(press, 2500));
    EXPECT_EQ(presses_.identifiers.size(), 2u);
    EXPECT_TRUE(send(press, 9000)) << "its release went astray";
    EXPECT_EQ(presses_.identifiers.size(), 3u);
}

TEST_F(HotKeyTest, ACombinationHeldElsewhereFailsAndLeavesNoVariantGrabbed) {
    const auto other = desktop::X11Connection::open(desktop_->display());
    const xcb_keycode_t p = desktop_->x().keycode(XK_p);
    // Only the NumLock variant is taken, so the plain one was grabbed before the refusal.
    xcb_grab_key(other->get(), 0, other->root(), XCB_MOD_MASK_1 | numLock, p, XCB_GRAB_MODE_ASYNC,
                 XCB_GRAB_MODE_ASYNC);
    std::free(xcb_get_input_focus_reply(other->get(), xcb_get_input_focus(other->get()), nullptr));

    std::optional<EventHotKeyRef> ref;
    EXPECT_EQ(registerAltP(ref), platform::eventHotKeyExistsErr);
    EXPECT_FALSE(ref);
    EXPECT_EQ(variantsHeld(), std::vector<uint16_t>{XCB_MOD_MASK_1 | numLock});
}

TEST_F(HotKeyTest, UnregisterReleasesEveryVariant) {
    std::optional<EventHotKeyRef> ref;
    ASSERT_EQ(registerAltP(ref), platform::noErr);
    EXPECT_EQ(variantsHeld().size(), 4u);

    EXPECT_EQ(hotKeys_->unregisterEventHotKey(*ref), platform::noErr);
    EXPECT_TRUE(variantsHeld().empty());
    EXPECT_NE(hotKeys_->unregisterEventHotKey(*ref), platform::noErr);

    std::optional<EventHotKeyRef> again;
    EXPECT_EQ(registerAltP(again), platform::noErr) << "the combination is free again";
}

TEST_F(HotKeyTest, ASecondRegistrationOfTheSameCombinationIsRefused) {
    std::optional<EventHotKeyRef> first, second;
    ASSERT_EQ(registerAltP(first), platform::noErr);
    EXPECT_EQ(registerAltP(second), platform::eventHotKeyExistsErr);
    EXPECT_EQ(hotKeys_->unregisterEventHotKey(*first), platform::noErr);
    EXPECT_TRUE(variantsHeld().empty());
}

TEST_F(HotKeyTest, AKeyThisKeyboardLacksIsInvalid) {
    std::optional<EventHotKeyRef> ref;
    EXPECT_EQ(hotKeys_->registerEventHotKey(10, optionMask, testIdentifier,
                                            hotKeys_->applicationEventTarget(), 0, ref),
              platform::eventHotKeyInvalidErr)
        << "code 10 names no key";
    EXPECT_FALSE(ref);
}

std::vector<xcb_keysym_t> keysymsOf(xcb_connection_t* c, xcb_keycode_t code, uint8_t& width) {
    const auto mapping = desktop::xreply(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, code, 1), nullptr));
    if (!mapping) return {};
    width = mapping->keysyms_per_keycode;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    return std::vector<xcb_keysym_t>(keysyms, keysyms + width);
}

// P moves to the last key code, and back when the test ends.
class HotKeyRemapTest : public HotKeyTest {
protected:
    void SetUp() override {
        HotKeyTest::SetUp();
        xcb_connection_t* c = desktop_->x().connection();
        oldCode_ = desktop_->x().keycode(XK_p);
        newCode_ = xcb_get_setup(c)->max_keycode;
        oldKeysyms_ = keysymsOf(c, oldCode_, width_);
        newKeysyms_ = keysymsOf(c, newCode_, width_);
        ASSERT_EQ(oldKeysyms_.size(), width_);
        ASSERT_EQ(newKeysyms_.size(), width_);
        const std::vector<xcb_keysym_t> none(width_, XCB_NO_SYMBOL);
        xcb_change_keyboard_mapping(c, 1, newCode_, width_, oldKeysyms_.data());
        xcb_change_keyboard_mapping(c, 1, oldCode_, width_, none.data());
        desktop_->x().sync();
        desktop_->x().reloadKeyboard();  // presses must use the new code
        ASSERT_EQ(desktop_->x().keycode(XK_p), newCode_);
    }

    void TearDown() override {
        xcb_connection_t* c = desktop_->x().connection();
        xcb_change_keyboard_mapping(c, 1, newCode_, width_, newKeysyms_.data());
        xcb_change_keyboard_mapping(c, 1, oldCode_, width_, oldKeysyms_.data());
        desktop_->x().sync();
        desktop_->x().reloadKeyboard();
        HotKeyTest::TearDown();
    }

    xcb_keycode_t oldCode_ = 0, newCode_ = 0;
    uint8_t width_ = 0;
    std::vector<xcb_keysym_t> oldKeysyms_, newKeysyms_;
};

TEST_F(HotKeyRemapTest, AKeyboardMappingChangeMovesTheGrab) {
    std::optional<EventHotKeyRef> ref;
    ASSERT_EQ(registerAltP(ref), platform::noErr);
    loop_->syncEvents();
    pressAltP();
    EXPECT_TRUE(pressesAre(1));
}

// A connection with the keyboard extension hears of a new layout instead.
TEST_F(HotKeyRemapTest, ANewKeyboardLayoutMovesTheGrab) {
    desktop::X11Connection& main = context_->main();
    std::optional<EventHotKeyRef> ref;
    ASSERT_EQ(registerAltP(ref), platform::noErr);
    std::free(xcb_get_input_focus_reply(main.get(), xcb_get_input_focus(main.get()), nullptr));
    while (auto event = desktop::xreply(xcb_poll_for_event(main.get()))) {
    }
    const auto xkb = desktop::xreply(xcb_query_extension_reply(
        main.get(), xcb_query_extension(main.get(), 9, "XKEYBOARD"), nullptr));
    ASSERT_TRUE(xkb && xkb->present);
    xcb_generic_event_t newKeyboard{};
    newKeyboard.response_type = xkb->first_event;
    newKeyboard.pad0 = 0;
    EXPECT_FALSE(context_->events().dispatch(newKeyboard));

    pressAltP();
    EXPECT_TRUE(pressesAre(1));
}

}  // namespace
