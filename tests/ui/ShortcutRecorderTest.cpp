#include <gmock/gmock.h>

#include "hotkey/HotkeyManager.h"
#include "settings/Settings.h"
#include "ui/SettingsWindowFixture.h"

namespace {

using ::testing::ElementsAre;
using ShortcutRecorderTest = SettingsWindowFixture;

const char* const optionP = "\xE2\x8C\xA5+P";
const char* const polishPrompt = "Wci\xC5\x9Bnij kombinacj\xC4\x99\xE2\x80\xA6";

TEST_F(ShortcutRecorderTest, AClickStartsARecordingOnceThatPausesTheShortcut) {
    EXPECT_EQ(recorder()->title(), optionP);
    click(recorder());
    EXPECT_EQ(recorder()->title(), polishPrompt);
    EXPECT_TRUE(recorder()->layer()->animation("pulse"));
    EXPECT_TRUE(HotkeyManager::shared().paused);
    EXPECT_EQ(desktop.keyMonitors.installed(), 1u);

    click(recorder());  // neither cancels nor installs a second monitor
    EXPECT_EQ(desktop.keyMonitors.installed(), 1u);
    EXPECT_TRUE(HotkeyManager::shared().paused);

    desktop.setFrontmost(editor);  // the current shortcut pins nothing while recording
    EXPECT_TRUE(press(keyP, optionKey));
    EXPECT_TRUE(pinnedWindows().empty());
    key(escape, 0);
    EXPECT_TRUE(press(keyP, optionKey));
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
}

TEST_F(ShortcutRecorderTest, EscapeOrTheAKeyStoresNothingAndRestoresTheTitle) {
    for (const auto& [code, flags] :
         {std::pair<uint16_t, uint64_t>{escape, commandFlag | shiftFlag},
          {escape, 0},
          {0, optionFlag}}) {
        click(recorder());
        const auto delivery = key(code, flags);
        EXPECT_FALSE(delivery.delivered);
        EXPECT_FALSE(stored(Settings::kcKey));
        EXPECT_FALSE(stored(Settings::modsKey));
        EXPECT_TRUE(registrations().empty());
        EXPECT_EQ(recorder()->title(), optionP);
        EXPECT_EQ(recorder()->layer()->backgroundColor(), platform::Color::white(0.12));
        EXPECT_TRUE(recorder()->layer()->animationKeys().empty());
        EXPECT_FALSE(HotkeyManager::shared().paused);
        EXPECT_EQ(desktop.keyMonitors.installed(), 0u);
    }
}

TEST_F(ShortcutRecorderTest, ANewShortcutIsStoredRegisteredAndAcknowledged) {
    click(recorder());
    const auto ending = key(keyK, controlFlag | optionFlag);  // reaches no control
    EXPECT_FALSE(ending.delivered);
    EXPECT_FALSE(ending.reachedKeyWindow);
    EXPECT_EQ(Settings::keyCode(), keyK);
    EXPECT_EQ(Settings::modifiers(), controlFlag | optionFlag);
    EXPECT_THAT(registrations(), ElementsAre("hotkey: Register kc=40 mods=6144 err=0"));
    EXPECT_EQ(recorder()->title(), "\xE2\x8C\x83+\xE2\x8C\xA5+K");
    EXPECT_THAT(recorder()->layer()->animationKeys(), ElementsAre("bounce"));
    const auto next = key(keyK, commandFlag);  // only the ending key is swallowed
    EXPECT_TRUE(next.delivered);
    EXPECT_TRUE(next.reachedKeyWindow);

    desktop.setFrontmost(editor);
    EXPECT_TRUE(press(keyK, 0x1000 | 0x0800));  // the new combination works at once
    EXPECT_THAT(pinnedWindows(), ElementsAre(471u));
}

// Neither a key the layout lacks nor a press that no key code names can become the
// shortcut; the recording goes on and a usable key still ends it.
TEST_F(ShortcutRecorderTest, AKeyTheLayoutLacksIsRefusedAndTheRecordingGoesOn) {
    desktop.keyNaming.missingKeys = {keyK};
    Settings::setLanguage("en");
    click(recorder());
    for (const uint16_t code : {keyK, platform::KeyNaming::unnamedKey}) {
        EXPECT_FALSE(key(code, controlFlag | optionFlag).delivered);
        EXPECT_EQ(recorder()->title(), "Can\xE2\x80\x99t use this key \xE2\x80\x93 try another");
        EXPECT_FALSE(stored(Settings::kcKey));
        EXPECT_TRUE(registrations().empty());
        EXPECT_TRUE(HotkeyManager::shared().paused);
        EXPECT_TRUE(recorder()->layer()->animation("pulse"));
    }
    Settings::setLanguage("pl");
    key(platform::KeyNaming::unnamedKey, 0);
    EXPECT_EQ(recorder()->title(), "Klawisz niedost\xC4\x99pny \xE2\x80\x93 wybierz inny");

    key(12, commandFlag);
    EXPECT_EQ(Settings::keyCode(), 12);
    EXPECT_EQ(recorder()->title(), "\xE2\x8C\x98+Q");
    EXPECT_FALSE(HotkeyManager::shared().paused);
    EXPECT_EQ(desktop.keyMonitors.installed(), 0u);
}

// A key without modifiers is stored as option + key; caps lock never reaches the store.
TEST_F(ShortcutRecorderTest, NoModifiersBecomeOptionAndCapsLockIsDropped) {
    click(recorder());
    key(keyK, capsLockFlag | commandFlag);
    EXPECT_EQ(std::get<int64_t>(desktop.defaults.at(Settings::modsKey)),
              static_cast<int64_t>(commandFlag));
    for (const uint64_t flags : {uint64_t{0}, capsLockFlag}) {
        click(recorder());
        key(keyK, flags);
        EXPECT_EQ(Settings::keyCode(), keyK);
        EXPECT_EQ(std::get<int64_t>(desktop.defaults.at(Settings::modsKey)),
                  static_cast<int64_t>(optionFlag));
        EXPECT_EQ(recorder()->title(), "\xE2\x8C\xA5+K");
    }
}

TEST_F(ShortcutRecorderTest, SwitchingToPolishMidRecordingShowsThePolishPrompt) {
    Settings::setLanguage("en");
    settings->show();
    click(recorder());
    EXPECT_EQ(recorder()->title(), "Press shortcut\xE2\x80\xA6");
    click(polish());
    EXPECT_EQ(recorder()->title(), polishPrompt);
    EXPECT_TRUE(recorder()->layer()->animation("pulse"));
    EXPECT_EQ(desktop.keyMonitors.installed(), 1u);
}

TEST_F(ShortcutRecorderTest, AHiddenWindowKeepsRecordingUntilTheNextKey) {
    click(recorder());
    click(closeButton());
    EXPECT_FALSE(settings->window->isVisible());
    EXPECT_TRUE(HotkeyManager::shared().paused);

    EXPECT_FALSE(key(keyK, commandFlag).delivered);
    EXPECT_EQ(Settings::keyCode(), keyK);
    EXPECT_FALSE(HotkeyManager::shared().paused);
}

TEST_F(ShortcutRecorderTest, TheMonitorDoesNotKeepTheWindowAlive) {
    click(recorder());
    const std::weak_ptr<SettingsWindow> weak = settings;
    settings.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(key(keyK, commandFlag).delivered);  // passed on unchanged
    EXPECT_FALSE(stored(Settings::kcKey));
}

// A desktop that refuses every local key monitor.
class RefusingPlatform : public sim::SimPlatform, private platform::KeyMonitors {
public:
    using SimPlatform::SimPlatform;
    platform::KeyMonitors& keyMonitors() override { return *this; }
    std::shared_ptr<platform::KeyMonitor> addLocalMonitor(uint64_t, Handler) override {
        return nullptr;
    }
    void removeMonitor(const std::shared_ptr<platform::KeyMonitor>&) override {}
};

TEST_F(ShortcutRecorderTest, WithoutAKeyMonitorTheRecordingEndsAtOnce) {
    platform::install(std::make_unique<RefusingPlatform>(desktop));
    click(recorder());
    EXPECT_FALSE(HotkeyManager::shared().paused);
    EXPECT_EQ(recorder()->title(), optionP);
    EXPECT_FALSE(recorder()->layer()->animation("pulse"));
    click(recorder());  // and a later click can try again
    EXPECT_FALSE(HotkeyManager::shared().paused);
}

}  // namespace
