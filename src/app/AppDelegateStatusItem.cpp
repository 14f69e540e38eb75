#include "app/AppDelegate.h"
#include "pinning/PinManager.h"
#include "platform/Platform.h"
#include "settings/L10n.h"
#include "ui/SettingsWindow.h"

namespace {

constexpr const char* pushpin = "\U0001F4CC";
constexpr const char* settingsPane = "x-apple.systempreferences:com.apple.preference.security";

void openAddress(const std::string& address) {
    if (!platform::workspace().isValidURL(address)) return;
    platform::workspace().openURL(address);
}

}  // namespace

void AppDelegate::setUpStatusItem() {
    statusItem = platform::statusBar().statusItem(platform::StatusBar::squareLength);
    platform::StatusBarButton* button = statusItem->button();
    if (button == nullptr) return;
    auto image = platform::images().systemSymbol("pin", "Pin active window");
    if (!image) image = appIconImage();
    if (image) {
        image->setTemplate(true);
        button->setImage(image);
        button->setImagePosition(platform::StatusBarButton::imageOnly);
    } else {
        button->setTitle(pushpin);  // still a menu behind it: without one nothing could quit
    }
    button->setToolTip(L10n::appName());
    auto menu = std::make_shared<platform::Menu>();
    menu->setDelegate(this);
    statusItem->setMenu(menu);
}

// Rebuilt from scratch at every opening: the pinned count, both permissions, the language.
void AppDelegate::menuNeedsUpdate(platform::Menu& menu) {
    menu.removeAllItems();
    const auto add = [&](std::string title, platform::MenuItem::Action action, std::string key,
                         const void* target, const char* image) {
        auto item = platform::MenuItem::make(std::move(title), std::move(action), std::move(key));
        item->target = target;
        item->image = symbol(image);
        menu.addItem(item);
    };
    const auto count = static_cast<int64_t>(PinManager::shared().mirrors.size());
    if (count == 0) {
        add(
            L10n::pinActiveWindow(), [this] { doPin(); }, "p", this, "pin");
    } else {
        add(
            L10n::unpinTitle(count), [this] { doUnpinAll(); }, "", this, "pin.slash");
    }
    menu.addItem(platform::MenuItem::separatorItem());
    const bool trusted = platform::accessibility().isProcessTrusted();
    add(
        L10n::accessibilityTitle(trusted),
        trusted ? platform::MenuItem::Action() : [this] { openAccessibilityPane(); }, "", this,
        "accessibility");
    const bool recording = hasScreenCapturePermission();
    add(
        L10n::screenRecordingTitle(recording),
        recording ? platform::MenuItem::Action() : [this] { openPrivacyScreenRecordingPane(); }, "",
        this, "record.circle");
    menu.addItem(platform::MenuItem::separatorItem());
    add(
        L10n::settings(), [this] { openSettings(); }, ",", this, "gearshape");
    menu.addItem(platform::MenuItem::separatorItem());
    add(
        L10n::quit(), [] { platform::application().terminate(); }, "q", nullptr, "power");
}

std::shared_ptr<platform::Image> AppDelegate::symbol(const std::string& name) {
    auto image = platform::images().systemSymbol(name, std::nullopt);
    if (image) image->setTemplate(true);
    return image;
}

// Where no settings page grants a permission, a message says what to do instead.
void AppDelegate::openAccessibilityPane() {
    platform::accessibility().isProcessTrustedWithPrompt();
    if (const auto remedy = platform::accessibility().remedy())
        return explain(L10n::accessibilityTitle(false), *remedy);
    openAddress(std::string(settingsPane) + "?Privacy_Accessibility");
}

void AppDelegate::openPrivacyScreenRecordingPane() {
    if (const auto remedy = platform::shareableContent().screenCaptureRemedy())
        return explain(L10n::screenRecordingTitle(false), *remedy);
    openAddress(std::string(settingsPane) + "?Privacy_ScreenCapture");
}

void AppDelegate::explain(const std::string& title, const platform::PermissionRemedy& remedy) {
    platform::application().showMessage(title, L10n::permissionRemedy(remedy), L10n::close());
}

bool AppDelegate::hasScreenCapturePermission() {
    return platform::shareableContent().preflightScreenCaptureAccess();
}

// Never pins this program's own windows; unpinning goes through doUnpinAll.
void AppDelegate::doPin() {
    const auto front = platform::workspace().frontmostApplication();
    if (!front) return;
    if (front->processIdentifier == platform::process().processIdentifier()) return;
    PinManager::shared().pin(front->processIdentifier, front->localizedName.value_or("?"));
}

void AppDelegate::doUnpinAll() {
    PinManager::shared().unpinAll();
}

// One settings window for the life of the process.
void AppDelegate::openSettings() {
    if (!settingsWindow) settingsWindow = std::make_shared<SettingsWindow>();
    settingsWindow->show();
}
