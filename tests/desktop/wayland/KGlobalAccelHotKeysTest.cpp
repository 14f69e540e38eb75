#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "desktop/wayland/MediaSession.h"
#include "platform/desktop/wayland/KGlobalAccelHotKeys.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t keyP = 35;
constexpr uint32_t keyF5 = 96;
constexpr uint32_t keypad1 = 83;
constexpr uint32_t command = 0x100, shift = 0x200, option = 0x800, control = 0x1000;
constexpr int qtP = 0x50, qtF5 = 0x01000034, qtKey1 = 0x31;
constexpr int qtShift = 0x02000000, qtCtrl = 0x04000000, qtAlt = 0x08000000, qtMeta = 0x10000000,
              qtKeypad = 0x20000000;
constexpr platform::EventHotKeyID pinKey{platform::fourCharCode("QUEL"), 1};

// The presses a handler saw, by the identifier each reported.
struct Presses {
    platform::HotKeys* hotKeys = nullptr;
    std::vector<platform::EventHotKeyID> seen;

    static platform::OSStatus handle(platform::EventHandlerCallRef, platform::EventRef event,
                                     void* userData) {
        auto* self = static_cast<Presses*>(userData);
        platform::EventHotKeyID identifier;
        self->hotKeys->getEventHotKeyID(event, identifier);
        self->seen.push_back(identifier);
        return platform::noErr;
    }
};

class KGlobalAccelHotKeysTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "veltrin_wayland_media_tests";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
        try {
            session_ = std::make_unique<MediaSession>(false);
            session_->start({"kglobalaccel5"}, {{"QT_QPA_PLATFORM", "offscreen"}});
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
    static void TearDownTestSuite() { session_.reset(); }

    void SetUp() override {
        ASSERT_NE(session_, nullptr) << "no session bus";
        ASSERT_TRUE(waitFor([&] {
            return bus().interface()->isServiceRegistered("org.kde.kglobalaccel").value();
        })) << "the shortcut service did not come up";
    }

    static QDBusConnection bus() {
        return QDBusConnection::connectToBus(
            QString::fromStdString(session_->busAddress()),
            "test " + QString::fromStdString(session_->busAddress()));
    }

    static bool waitFor(const std::function<bool()>& done,
                        std::chrono::milliseconds timeout = 10s) {
        for (auto deadline = std::chrono::steady_clock::now() + timeout;
             std::chrono::steady_clock::now() < deadline;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (done()) return true;
            std::this_thread::sleep_for(5ms);
        }
        return done();
    }

    // A call to the shortcut service as any other program would make it.
    static QDBusMessage call(const QString& method, const QList<QVariant>& arguments,
                             const QString& path = "/kglobalaccel",
                             const QString& interface = "org.kde.KGlobalAccel") {
        QDBusMessage message =
            QDBusMessage::createMethodCall("org.kde.kglobalaccel", path, interface, method);
        message.setArguments(arguments);
        return bus().call(message, QDBus::Block, 5000);
    }

    static QList<int> shortcutOf(const QStringList& actionId) {
        const QDBusMessage reply = call("shortcut", {actionId});
        if (reply.arguments().isEmpty()) return {};
        return qdbus_cast<QList<int>>(reply.arguments().at(0));
    }

    // Another program takes a combination; the keys the service gave it.
    static QList<int> takeAsOther(const QStringList& actionId, int key) {
        call("doRegister", {actionId});
        const QDBusMessage reply =
            call("setShortcut", {actionId, QVariant::fromValue(QList<int>{key}), 6u});
        return reply.arguments().isEmpty() ? QList<int>{}
                                           : qdbus_cast<QList<int>>(reply.arguments().at(0));
    }

    static void invoke(const QString& component, const QString& action) {
        const QDBusMessage path = call("getComponent", {component});
        ASSERT_EQ(path.type(), QDBusMessage::ReplyMessage) << path.errorMessage().toStdString();
        call("invokeShortcut", {action}, qdbus_cast<QDBusObjectPath>(path.arguments().at(0)).path(),
             "org.kde.kglobalaccel.Component");
    }

    std::unique_ptr<desktop::KGlobalAccelHotKeys> hotKeys(const std::string& component) {
        return std::make_unique<desktop::KGlobalAccelHotKeys>(session_->busAddress(), component,
                                                              "Veltrin test");
    }

    static platform::OSStatus registerKey(platform::HotKeys& keys, uint32_t keyCode,
                                          uint32_t modifiers, platform::EventHotKeyID identifier,
                                          std::optional<platform::EventHotKeyRef>& ref) {
        return keys.registerEventHotKey(keyCode, modifiers, identifier,
                                        keys.applicationEventTarget(), 0, ref);
    }

    static inline std::unique_ptr<MediaSession> session_;
};

// What the service stores is the combination the logic asked for, modifiers and keypad
// included, under the component's action for the identifier.
TEST_F(KGlobalAccelHotKeysTest, ServiceHoldsTheCombinationTheLogicGave) {
    auto keys = hotKeys("veltrin-keys");
    struct Case {
        uint32_t keyCode, modifiers;
        int expected;
    };
    for (const Case& c :
         {Case{keyP, option, qtAlt | qtP}, Case{keyF5, command | shift, qtMeta | qtShift | qtF5},
          Case{keypad1, control, qtCtrl | qtKeypad | qtKey1}}) {
        SCOPED_TRACE(c.expected);
        std::optional<platform::EventHotKeyRef> ref;
        ASSERT_EQ(registerKey(*keys, c.keyCode, c.modifiers, pinKey, ref), platform::noErr);
        ASSERT_TRUE(ref.has_value());
        EXPECT_EQ(shortcutOf({"veltrin-keys", "hotkey-1", "Veltrin test", ""}),
                  QList<int>{c.expected});
        EXPECT_EQ(keys->unregisterEventHotKey(*ref), platform::noErr);
    }
    std::optional<platform::EventHotKeyRef> ref;
    EXPECT_EQ(registerKey(*keys, 10, option, pinKey, ref), platform::eventHotKeyInvalidErr)
        << "a key code without a key";
    EXPECT_FALSE(ref.has_value());
}

TEST_F(KGlobalAccelHotKeysTest, PressOfTheShortcutReachesEachHandlerWithItsIdentifier) {
    auto keys = hotKeys("veltrin-press");
    std::optional<platform::EventHotKeyRef> ref;
    ASSERT_EQ(registerKey(*keys, keyP, control | option, pinKey, ref), platform::noErr);
    Presses presses{keys.get(), {}};
    const std::vector<platform::EventTypeSpec> types = {
        {platform::kEventClassKeyboard, platform::kEventHotKeyPressed}};
    ASSERT_EQ(keys->installEventHandler(keys->applicationEventTarget(), &Presses::handle, types,
                                        &presses),
              platform::noErr);
    invoke("veltrin-press", "hotkey-1");
    ASSERT_TRUE(waitFor([&] { return !presses.seen.empty(); }));
    EXPECT_EQ(presses.seen.front(), pinKey);
    EXPECT_FALSE(waitFor([&] { return presses.seen.size() > 1; }, 300ms)) << "one press, one call";

    platform::EventHotKeyID untouched{7, 7};
    EXPECT_EQ(keys->getEventHotKeyID({12345}, untouched), platform::eventParameterNotFoundErr);
    EXPECT_EQ(untouched, (platform::EventHotKeyID{7, 7}));
    keys->unregisterEventHotKey(*ref);
}

// A combination another program holds is refused as taken, and leaves the other program
// its shortcut and nothing of ours behind; so is one we hold already.
TEST_F(KGlobalAccelHotKeysTest, CombinationHeldElsewhereIsReportedTaken) {
    const QStringList other = {"other-program", "act", "Other", "Act"};
    ASSERT_EQ(takeAsOther(other, qtCtrl | qtAlt | qtP), QList<int>{qtCtrl | qtAlt | qtP});
    auto keys = hotKeys("veltrin-taken");
    std::optional<platform::EventHotKeyRef> ref;
    EXPECT_EQ(registerKey(*keys, keyP, control | option, pinKey, ref), -9878);
    EXPECT_FALSE(ref.has_value());
    EXPECT_EQ(shortcutOf(other), QList<int>{qtCtrl | qtAlt | qtP});
    EXPECT_TRUE(shortcutOf({"veltrin-taken", "hotkey-1", "", ""}).isEmpty());

    ASSERT_EQ(registerKey(*keys, keyP, control | shift, pinKey, ref), platform::noErr);
    std::optional<platform::EventHotKeyRef> again;
    EXPECT_EQ(registerKey(*keys, keyP, control | shift, {pinKey.signature, 2}, again), -9878);
    EXPECT_FALSE(again.has_value());
    keys->unregisterEventHotKey(*ref);
}

TEST_F(KGlobalAccelHotKeysTest, UnregisteredCombinationIsFreeAndSilent) {
    auto keys = hotKeys("veltrin-free");
    Presses presses{keys.get(), {}};
    keys->installEventHandler(keys->applicationEventTarget(), &Presses::handle,
                              {{platform::kEventClassKeyboard, platform::kEventHotKeyPressed}},
                              &presses);
    std::optional<platform::EventHotKeyRef> ref;
    ASSERT_EQ(registerKey(*keys, keyF5, control | shift, pinKey, ref), platform::noErr);
    ASSERT_EQ(keys->unregisterEventHotKey(*ref), platform::noErr);
    EXPECT_EQ(keys->unregisterEventHotKey(*ref), platform::eventHotKeyInvalidErr);
    EXPECT_EQ(takeAsOther({"other-free", "act", "Other", "Act"}, qtCtrl | qtShift | qtF5),
              QList<int>{qtCtrl | qtShift | qtF5})
        << "the combination stayed held";
    invoke("veltrin-free", "hotkey-1");
    EXPECT_FALSE(waitFor([&] { return !presses.seen.empty(); }, 500ms));
}

// No bus: registering fails at once, with no registration made.
TEST_F(KGlobalAccelHotKeysTest, WithoutABusRegisteringFails) {
    desktop::KGlobalAccelHotKeys keys("unix:path=/nonexistent/bus", "veltrin-nobus");
    std::optional<platform::EventHotKeyRef> ref;
    const auto began = std::chrono::steady_clock::now();
    EXPECT_NE(registerKey(keys, keyP, option, pinKey, ref), platform::noErr);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 5s);
    EXPECT_FALSE(ref.has_value());
}

}  // namespace
